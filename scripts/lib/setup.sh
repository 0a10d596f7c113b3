# Shared set-up for scripts/run and scripts/test: installs what is missing (Debian, as root) and knows
# how to run Windows programs under Wine in a prefix of their own.

GRIMSWEEP_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# unicode-data: CaseFolding.txt, from which the build generates the table that compares names and paths.
GRIMSWEEP_PACKAGES=(cmake ninja-build g++ clang libgtest-dev googletest libbenchmark-dev unicode-data
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 xvfb xauth imagemagick xdotool)

grimsweep_install_packages() {
    local missing=()
    local package
    for package in "${GRIMSWEEP_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
}

grimsweep_wine_binary() {
    command -v wine64 2>/dev/null || echo /usr/lib/wine/wine64
}

# Sets up the Wine environment for the prefix in $1 and creates the prefix when it is new, so that its
# set-up output never reaches a program's output.
grimsweep_wine_prefix() {
    export WINEPREFIX="$1"
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko install prompts.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        "$(grimsweep_wine_binary)" wineboot --init >/dev/null 2>&1 || true
        wineserver -w
    fi
}

grimsweep_wine_stop() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
}
