#!/usr/bin/env bash
# Installs what is missing, builds with Debian's hardening flags, and makes the Debian package
# build/pentolone_<version>-<revision>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dipendenze.sh
PACCHETTI+=("${PACCHETTI_DEL_PACCHETTO[@]}")
installa_dipendenze

# The flags Debian builds its own packages with (fortified functions, stack protector,
# relocations read-only and bound at start), and no others; in a folder of its own, so
# run.sh's and test.sh's build keeps its flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CARTELLA=build/pacchetto
OPZIONI_CMAKE=(-DCMAKE_BUILD_TYPE=None
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)")
PROVE=OFF compila

rm -f build/pentolone_*.deb "$CARTELLA"/pentolone_*.deb
registra "$CARTELLA/compilazione.log" "Creazione del pacchetto" "Creazione del pacchetto..." \
    cpack -G DEB --config "$CARTELLA/CPackConfig.cmake" -B "$CARTELLA" || exit 1
mv "$CARTELLA"/pentolone_*.deb build/
echo "Pacchetto pronto: $(ls build/pentolone_*.deb)"
