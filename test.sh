#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dipendenze.sh
PACCHETTI+=("${PACCHETTI_DELLE_PROVE[@]}")
installa_dipendenze
compila
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j"$(nproc)" "$@"
