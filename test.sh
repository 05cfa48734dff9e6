#!/usr/bin/env bash
# Installs what is missing, builds the program and runs every test.
# ZELTO_SANITIZE=1 builds and runs under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/installer.sh
if [ "${ZELTO_SANITIZE:-0}" = "1" ]; then
  dossier=build-asan
  options=(-DCMAKE_BUILD_TYPE=Debug -DZELTO_SANITIZE=ON)
else
  dossier=build-test
  options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S . -B "$dossier" -G Ninja "${options[@]}" >/dev/null
cmake --build "$dossier"
# Qt has two event dispatchers on Linux (GLib's, its own with QT_NO_GLIB=1).
# The plain build runs the unit tests under both and the real-display
# scripts under GLib's, with the check of the waits table's retry; the
# sanitizer build runs the unit tests under GLib's and the real-display
# scripts under Qt's own.
sanitiseurs=0
[ "${ZELTO_SANITIZE:-0}" = "1" ] && sanitiseurs=1
[ "$sanitiseurs" = 1 ] && reel=(env QT_NO_GLIB=1) || reel=(env)
# The real program on a virtual X display, before the unit tests so that
# their summary closes the output; its failures are repeated after it.
fumee=0
ecran="$dossier/ecran-reel.log"
: >"$ecran"
# The sanitizer reports the scripts copy there: this run's only.
rm -f "$dossier"/rapports-*.log
"${reel[@]}" bash tests/fumee/fumee.sh "$dossier" 2>&1 | tee -a "$ecran" || fumee=1
"${reel[@]}" bash tests/fumee/attentes.sh "$dossier" 2>&1 | tee -a "$ecran" || fumee=1
if [ "$sanitiseurs" = 0 ]; then
  bash tests/fumee/reprise.sh "$dossier" 2>&1 | tee -a "$ecran" || fumee=1
fi
unitaires=0
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dossier" --output-on-failure -j "$(nproc)" || unitaires=1
if [ "$sanitiseurs" = 0 ]; then
  echo "Unit tests again under Qt's own event dispatcher (QT_NO_GLIB=1):"
  QT_NO_GLIB=1 QT_QPA_PLATFORM=offscreen ctest --test-dir "$dossier" --output-on-failure -j "$(nproc)" |
    grep -vE '^ *Start +[0-9]+:|Test +#[0-9]+: .* Passed ' || unitaires=1
fi
if [ "$fumee" = 1 ]; then
  echo "Real-display failures:"
  grep -E '^[a-z]+: (FAIL|again|captures|no usable)|missing|did not start' "$ecran"
fi
[ "$fumee" = 0 ] && [ "$unitaires" = 0 ]
