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
# The real program on a virtual X display, before the unit tests so that
# their summary closes the output; its failures are repeated after it.
fumee=0
ecran="$dossier/ecran-reel.log"
: >"$ecran"
# The sanitizer reports the scripts copy there: this run's only.
rm -f "$dossier"/rapports-*.log
bash tests/fumee/fumee.sh "$dossier" 2>&1 | tee -a "$ecran" || fumee=1
bash tests/fumee/attentes.sh "$dossier" 2>&1 | tee -a "$ecran" || fumee=1
bash tests/fumee/reprise.sh "$dossier" 2>&1 | tee -a "$ecran" || fumee=1
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dossier" --output-on-failure -j "$(nproc)"
if [ "$fumee" = 1 ]; then
  echo "Real-display failures:"
  grep -E '^[a-z]+: (FAIL|again|captures|no usable)|missing|did not start' "$ecran"
fi
exit "$fumee"
