# Sourced by run.sh, test.sh and scripts/pacchetto.sh: installs the Debian packages Pentolone
# needs when missing, and builds. The screen gets one Italian line a step; the tools' own output
# goes to a log, shown (its last lines) only when a step fails.
PACCHETTI=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
           libqt6svg6 libgl-dev libsqlite3-dev fonts-dejavu-core poppler-utils
           libmdb3 mdbtools-dev pkg-config libxml2-dev libqrencode-dev)
# test.sh needs these too: the install test validates the AppStream metainfo.
PACCHETTI_DELLE_PROVE=(appstream)
# scripts/pacchetto.sh needs these too: cpack's Debian generator runs file and dpkg-shlibdeps,
# and dpkg-buildflags gives Debian's hardening flags.
PACCHETTI_DEL_PACCHETTO=(file dpkg-dev)

REGISTRO=build/installazione.log

# More options for compila's cmake, and its build folder.
OPZIONI_CMAKE=()
CARTELLA=build

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

# Empty when sudo may run apt-get; else why not, in words. sudo's own lines are English and
# stay on the terminal: a password, if asked, is asked there.
perche_non_sudo() {
    local utente
    utente=$(id -un)
    if ! command -v sudo >/dev/null 2>&1; then
        echo "Per installarli servono i diritti di amministratore e qui il comando sudo non c'è."
        return
    fi
    sudo -n true 2>/dev/null && return
    if ! (: </dev/tty) 2>/dev/null; then
        echo "Per installarli servono i diritti di amministratore: sudo chiede la password di" \
            "$utente e qui non c'è un terminale dove scriverla."
        return
    fi
    local detto
    detto=$(mktemp)
    # Its messages go to the terminal and, in English whatever the language, to a file read here.
    if { LC_ALL=C sudo -v 2>&1 >&3 | tee "$detto" >&2; } 3>&1; then
        rm -f "$detto"
        return
    fi
    if grep -q -e 'sudoers' -e 'may not run sudo' -e 'not allowed' "$detto"; then
        echo "Per installarli servono i diritti di amministratore e sudo non li concede a $utente."
    else
        echo "Per installarli servono i diritti di amministratore e sudo non ha accettato la" \
            "password di $utente."
    fi
    rm -f "$detto"
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
        local motivo
        motivo=$(perche_non_sudo)
        if [ -n "$motivo" ]; then
            spiega_come_installare "$motivo" "${mancanti[@]}"
            return 1
        fi
        sudo=(sudo)
    fi

    mkdir -p "$(dirname "$REGISTRO")"
    : >"$REGISTRO"
    echo "Aggiornamento dell'elenco dei pacchetti... (registro completo in $REGISTRO)"
    registra "$REGISTRO" Installazione "" \
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update || return 1
    echo "Installazione dei pacchetti mancanti (${#mancanti[@]}): ${mancanti[*]}..."
    registra "$REGISTRO" Installazione "" "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${mancanti[@]}" || return 1
}

# A build's lines that say it had nothing to do.
NIENTE_DA_FARE='^\[ *[0-9]+%\] (Built target|Automatic MOC and UIC for target) '

# registra <log> <step> <announcement> <command>...: runs the command with its output added to
# the log. The announcement, if any, is said at the first line that is not one of a build with
# nothing to do. On failure says the step failed, with the log's last lines.
registra() {
    local registro=$1 passo=$2 annuncio=$3
    shift 3
    if "$@" </dev/null 2>&1 | annuncia "$annuncio" "$registro"; then
        return 0
    fi
    echo "$passo non riuscita. Le ultime righe del registro $registro:" >&2
    tail -n 20 "$registro" >&2
    return 1
}

annuncia() {
    local annuncio=$1 registro=$2 riga
    while IFS= read -r riga; do
        printf '%s\n' "$riga" >>"$registro"
        if [ -n "$annuncio" ] && ! [[ $riga =~ $NIENTE_DA_FARE ]]; then
            echo "$annuncio"
            annuncio=
        fi
    done
}

# Builds in $CARTELLA the targets named, or everything; with the tests and benchmarks unless
# PROVE=OFF. The build's output goes to $CARTELLA/compilazione.log.
compila() {
    local obiettivi=() t
    for t in "$@"; do obiettivi+=(--target "$t"); done
    local registro=$CARTELLA/compilazione.log preparazione=
    mkdir -p "$CARTELLA"
    : >"$registro"
    [ -f "$CARTELLA/CMakeCache.txt" ] ||
        preparazione="Preparazione della compilazione... (registro completo in $registro)"
    registra "$registro" "Preparazione della compilazione" "$preparazione" \
        cmake -S . -B "$CARTELLA" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING="${PROVE:-ON}" \
        "${OPZIONI_CMAKE[@]}" || return 1
    registra "$registro" Compilazione "Compilazione... (registro completo in $registro)" \
        cmake --build "$CARTELLA" -j"$(nproc)" "${obiettivi[@]}" || return 1
}
