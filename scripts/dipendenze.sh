# Sourced by run.sh and test.sh: installs the Debian packages Pentolone needs when missing.
PACCHETTI=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
           libqt6svg6 libgl-dev libsqlite3-dev fonts-dejavu-core poppler-utils
           libmdb3 mdbtools-dev pkg-config)

installa_dipendenze() {
    local mancanti=() p
    for p in "${PACCHETTI[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            mancanti+=("$p")
    done
    [ ${#mancanti[@]} -eq 0 ] && return 0
    echo "Installo i pacchetti mancanti: ${mancanti[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${mancanti[@]}"
}

# Builds the targets named, or everything.
compila() {
    local obiettivi=() t
    for t in "$@"; do obiettivi+=(--target "$t"); done
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j"$(nproc)" "${obiettivi[@]}"
}
