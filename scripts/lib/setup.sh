# Shared set-up for scripts/run and scripts/test: installs what is missing (Debian, as root) and knows
# how to run Windows programs under Wine in a prefix of their own.

GRIMSWEEP_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# unicode-data: CaseFolding.txt, from which the build generates the table that compares names and paths.
# fonts-wine: Wine's own Tahoma (its message font) and Marlett (the glyphs of the caption buttons);
# wine only recommends it.
# nsis: makensis, which makes the Windows installer.
# locales: the sources from which scripts/wine-exec compiles the German locale for the test under German
# regional settings.
# fp-utils: chmcmd, which compiles the help pages into Help.chm.
# libssl-dev: OpenSSL's libcrypto, with which gsdefs signs definition updates on Linux.
# libcpp-httplib-dev, pkg-config: the HTTP server of gsdefs serve on Linux.
# nginx-light: the web server of the definition site that gsdefs site renders; curl and wrk: its test and
# load benchmark.
GRIMSWEEP_PACKAGES=(cmake ninja-build g++ clang libgtest-dev googletest libbenchmark-dev unicode-data
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xauth imagemagick
    xdotool locales nsis fp-utils libssl-dev libcpp-httplib-dev pkg-config nginx-light curl wrk)

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
    # A link to the Windows folder, for the tests that spell protected places through a link: Wine's
    # CreateSymbolicLinkW makes nothing, so the link is made from this side.
    if [ -d "$WINEPREFIX/drive_c/windows" ] && [ ! -e "$WINEPREFIX/drive_c/grimsweep-linked-windows" ]; then
        ln -s windows "$WINEPREFIX/drive_c/grimsweep-linked-windows" 2>/dev/null || true
    fi
    # Debian's Wine does not look in /usr/share/wine/fonts, where fonts-wine puts its fonts: without
    # them in the prefix, the message font falls back to a wider one and the caption buttons, which
    # are Marlett glyphs, show the letters "0 1 r".
    if [ -d /usr/share/wine/fonts ]; then
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
}

# For a display without a window manager (Xvfb): Wine draws the window frames itself and takes the
# windows out of the care of a window manager, as Windows does. Left managed, every window waits for a
# manager that never answers: hiding one blocks for two seconds, and activation follows X focus events
# that nothing sends, so a click can land on a window that is just being hidden.
grimsweep_wine_without_window_manager() {
    local wine
    wine="$(grimsweep_wine_binary)"
    "$wine" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    "$wine" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
}

grimsweep_wine_stop() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
}
