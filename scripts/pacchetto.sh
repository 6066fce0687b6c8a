#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/pentolone_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dipendenze.sh
PACCHETTI+=("${PACCHETTI_DEL_PACCHETTO[@]}")
installa_dipendenze
PROVE=OFF compila
cd build
rm -f pentolone_*.deb
cpack -G DEB
