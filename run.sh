#!/usr/bin/env bash
# Installs what is missing, builds, and starts Pentolone on the sample book.
set -euo pipefail
cd "$(dirname "$0")"
sorgenti=$PWD
source scripts/dipendenze.sh
installa_dipendenze
compila

# The working folder holds the template, the sample book and Ricette.ini.
cartella="${PENTOLONE_DIR:-$HOME/Pentolone}"
mkdir -p "$cartella"
[ -e "$cartella/Ricetta" ] || cp build/libri/Ricetta "$cartella/"
[ -e "$cartella/Ricette.mdb" ] || cp build/libri/Ricette.mdb "$cartella/"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Pentolone ha bisogno di uno schermo e qui non ce n'è: senza schermo provate 'xvfb-run -a ./run.sh' (pacchetto xvfb)." >&2
    exit 1
fi
cd "$cartella"
exec "$sorgenti/build/src/app/pentolone"
