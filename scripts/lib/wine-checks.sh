# The checks the shell tests share when they run the programs under Wine: counting failures, Windows paths,
# the registry, the encoded definition files. Sourced after setup.sh, once the test's prefix is set up.
wine="$(grimsweep_wine_binary)"
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}
unix_path() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
key_present() { "$wine" reg query "$1" >/dev/null 2>&1; }
value_present() { "$wine" reg query "$1" /v "$2" >/dev/null 2>&1; }
appdata_windows() { "$wine" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r'; }

wait_for() { # condition command, seconds
    local deadline=$((SECONDS + $2))
    until eval "$1"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 1
    done
}

# gscan_folder GSCAN MACRO: the Unix path of the folder a path macro ("cookies") stands for, as gscan's
# machine report gives it.
gscan_folder() {
    local windows
    windows="$("$wine" "$1" 2>/dev/null | tr -d '\r' |
        awk -v m="  [$2]" 'index($0, m) == 1 { sub(/^ *\[[a-z]+\] */, ""); print; exit }')"
    [ -n "$windows" ] && unix_path "$windows"
}

# encode_definitions GSDEFS_EXE PLAIN DATA: each of the six definition files PLAIN/<name>.txt encoded by
# gsdefs.exe into PLAIN/<name>.dat and copied into the data folder DATA.
encode_definitions() {
    local name
    mkdir -p "$3"
    for name in FileDefinition DirectoryDefinition RegistryDefinition ExeDefinition BlockedCookies Safety; do
        "$wine" "$1" encode "Z:$2/$name.txt" "Z:$2/$name.dat" >/dev/null 2>&1 || fail "gsdefs could not encode $name"
        cp "$2/$name.dat" "$3/$name.dat"
    done
}

# Ends the test: exit 1 when a check failed, else the summary line.
finish_checks() {
    if [ "$failures" -gt 0 ]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "$1"
}
