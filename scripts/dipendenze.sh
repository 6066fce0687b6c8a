# Sourced by run.sh and test.sh: installs the Debian packages Pentolone needs when missing.
PACCHETTI=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
           libqt6svg6 libgl-dev libsqlite3-dev fonts-dejavu-core poppler-utils
           libmdb3 mdbtools-dev pkg-config libxml2-dev)
# scripts/pacchetto.sh needs these too: cpack's Debian generator runs file and dpkg-shlibdeps.
PACCHETTI_DEL_PACCHETTO=(file dpkg-dev)

# apt-get's output goes here, one line a step on the screen.
REGISTRO=build/installazione.log

# Says why it cannot install the packages named and the one command that does it as root.
spiega_come_installare() {
    local motivo=$1
    shift
    {
        echo "Mancano questi pacchetti di Debian: $*"
        echo "$motivo"
        echo "Installateli come amministratore (root) con questo comando, poi rilanciate $0:"
        echo "    su -c \"apt-get update && apt-get install -y --no-install-recommends $*\""
    } >&2
}

installa_dipendenze() {
    local mancanti=() p
    for p in "${PACCHETTI[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            mancanti+=("$p")
    done
    [ ${#mancanti[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            spiega_come_installare "Per installarli servono i diritti di amministratore e qui il comando sudo non c'è." \
                "${mancanti[@]}"
            return 1
        fi
        # sudo's own lines are English: a password, if asked, is asked on the terminal.
        if ! sudo -n true 2>/dev/null && ! sudo -v 2>/dev/null; then
            spiega_come_installare "Per installarli servono i diritti di amministratore e sudo non li concede a $(id -un)." \
                "${mancanti[@]}"
            return 1
        fi
        sudo=(sudo)
    fi

    mkdir -p "$(dirname "$REGISTRO")"
    : >"$REGISTRO"
    echo "Aggiornamento dell'elenco dei pacchetti... (registro completo in $REGISTRO)"
    esegui_apt "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update || return 1
    echo "Installazione dei pacchetti mancanti (${#mancanti[@]}): ${mancanti[*]}..."
    esegui_apt "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${mancanti[@]}" || return 1
}

# Runs one apt-get step into the log; on failure shows the log's last lines.
esegui_apt() {
    if ! "$@" >>"$REGISTRO" 2>&1 </dev/null; then
        echo "Installazione non riuscita. Le ultime righe del registro $REGISTRO:" >&2
        tail -n 15 "$REGISTRO" >&2
        return 1
    fi
}

# Builds the targets named, or everything; with the tests and benchmarks unless PROVE=OFF.
compila() {
    local obiettivi=() t
    for t in "$@"; do obiettivi+=(--target "$t"); done
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING="${PROVE:-ON}" >/dev/null
    cmake --build build -j"$(nproc)" "${obiettivi[@]}"
}
