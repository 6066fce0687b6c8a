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
PROVE=OFF compila pentolone libri

# The program makes its working folder (~/Pentolone, or $PENTOLONE_DIR) with the template and
# the sample book, as it does when started from the desktop menu.
exec "$sorgenti/build/bin/pentolone" --cartella-personale "$@"
