#!/usr/bin/env bash
# Installs what is missing, builds, and starts Pentolone on the sample book.
set -euo pipefail
cd "$(dirname "$0")"
sorgenti=$PWD

# Said first, before minutes of installing and building.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Pentolone ha bisogno di uno schermo e qui non ce n'è: senza schermo provate 'xvfb-run -a ./run.sh' (pacchetto xvfb)." >&2
    exit 1
fi

source scripts/dipendenze.sh
installa_dipendenze
# Only the program and the books it starts on: the tests and benchmarks are test.sh's.
compila pentolone libri

# The working folder holds the template, the sample book and Ricette.ini.
cartella="${PENTOLONE_DIR:-$HOME/Pentolone}"
mkdir -p "$cartella"
[ -e "$cartella/Ricetta" ] || cp build/libri/Ricetta "$cartella/"
[ -e "$cartella/Ricette.mdb" ] || cp build/libri/Ricette.mdb "$cartella/"

cd "$cartella"
exec "$sorgenti/build/src/app/pentolone"
