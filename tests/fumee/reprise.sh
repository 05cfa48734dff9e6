#!/usr/bin/env bash
# The waits table's retry, checked on the table itself: row 3's first try
# made to miss its exchange is tried again on a new program run and passes;
# row 5's first try made to come out wrong fails without another try.
#
#   tests/fumee/reprise.sh [BUILD_DIR]      (default: build-test)
set -uo pipefail

sortie=$(ZELTO_ATTENTES_FORCER="3:2 5:1" bash "$(dirname "$0")/attentes.sh" "${1:-build-test}" 3 5 2>&1)
statut=$?
constats=()
[ "$statut" = 1 ] || constats+=("the table's status is $statut, not 1")
[ "$(grep -c '^waits: again 3: status 2 forced' <<<"$sortie")" = 1 ] || constats+=("row 3 not tried again once")
grep -q '^waits: ok   3 .*, try 2)$' <<<"$sortie" || constats+=("row 3 did not pass on its second try")
grep -q '^waits: FAIL 5 .*: status 1 forced' <<<"$sortie" || constats+=("row 5 did not fail")
grep -q '^waits: again 5' <<<"$sortie" && constats+=("row 5 tried again after a wrong outcome")
grep -q '^waits: 1 passed, 1 failed$' <<<"$sortie" || constats+=("not 1 passed, 1 failed")
if [ ${#constats[@]} -eq 0 ]; then
  # The failure was made: its captures go.
  dossier=$(sed -n 's/^waits: captures and logs kept in //p' <<<"$sortie")
  [[ "$dossier" = /tmp/zelto-attentes.* ]] && rm -rf "$dossier"
  echo "retry: ok   a row that missed its exchange passes on a new program run; a wrong outcome is not tried again"
  # Sanitizer reports that did not fail the table.
  sed -n '/^waits: sanitizer reports/,/^waits: [0-9]* passed/{/^waits: [0-9]* passed/!p}' <<<"$sortie"
  exit 0
fi
texte=$(printf '; %s' "${constats[@]}")
echo "retry: FAIL ${texte:2}"
sed 's/^/  /' <<<"$sortie"
exit 1
