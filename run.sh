#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/installer.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELTO_TESTS=OFF >/dev/null
cmake --build build --target zelto
exec ./build/zelto "$@"
