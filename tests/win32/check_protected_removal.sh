#!/usr/bin/env bash
# gscan remove under Wine, in a Wine prefix of its own, with definitions that name protected places in odd
# spellings (the Windows folder with a trailing dot, Documents, Fonts, the drivers folder, the users' root,
# System32 through a link) and HKCU\Software and the Run key as whole keys, beside ordinary spyware: every
# protected place and key stays as it was and is listed as protected, the ordinary items go, and gscan
# exits with 1 (something stayed).
# Arguments: gscan.exe, gsdefs.exe.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/setup.sh"
gscan="$1"
gsdefs="$2"
prefix="$(mktemp -d /tmp/grimsweep-protected-removal.XXXXXX)"
plain="$(mktemp -d /tmp/grimsweep-protected-definitions.XXXXXX)"
trap 'grimsweep_wine_stop; rm -rf "$prefix" "$plain"' EXIT
grimsweep_wine_prefix "$prefix"
source "$(dirname "$0")/../../scripts/lib/wine-checks.sh"
# Wine links the profile's Documents, Desktop, Music, ... to the Linux home folder. This test must not be
# able to reach that folder whatever the removal does, so here they are plain folders.
for link in "$prefix"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
        rm "$link" && mkdir "$link"
    fi
done
tree_count() { find "$1" 2>/dev/null | wc -l; }

appdata="$(appdata_windows)"
data="$(unix_path "$appdata\\AntiSpywareDAT")"
windows="$(unix_path 'C:\windows')"
documents="$(unix_path "$("$wine" cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')\\Documents")"
users="$(unix_path 'C:\users')"
[ -n "$data" ] && [ -d "$windows/system32" ] && [ -d "$users" ] || { echo "the prefix has no Windows folder" >&2; exit 1; }
[ -e "$prefix/drive_c/grimsweep-linked-windows" ] || fail "the prefix has no link to the Windows folder"

# Our own harmless spyware beside the protected places, and things of the user's that must stay.
mkdir -p "$prefix/drive_c/Gloom Spy" "$documents" "$windows/Fonts"
echo "MZ gloom spy" >"$prefix/drive_c/Gloom Spy/gloomspy.exe"
echo "years of work" >"$documents/thesis.doc"
echo "font" >"$windows/Fonts/grimsweep-serif.ttf"
"$wine" reg add 'HKCU\Software\Gloom Spy' /v Level /d 3 /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v GloomSpy /d 'C:\Gloom Spy\gloomspy.exe' /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Sidebar /d 'sidebar.exe' /f >/dev/null 2>&1

cat >"$plain/FileDefinition.txt" <<'EOF'
gloomspy.exe=Gloom Spy|[drive]Gloom Spy\|Spyware
EOF
cat >"$plain/DirectoryDefinition.txt" <<'EOF'
Windows=Windows Eater|[drive]WINDOWS.|Destroys Windows
Documents=Documents Eater|[personl].|Destroys documents
Fonts=Fonts Eater|[fonts]|Destroys fonts
Drivers=Drivers Eater|[system]drivers. |Destroys drivers
Users=Users Eater|[drive]users\..\USERS\|Destroys profiles
Linked=Link Eater|[drive]grimsweep-linked-windows\system32|Destroys System32 through a link
EOF
cat >"$plain/RegistryDefinition.txt" <<'EOF'
1^Software^=Software Eater|Destroys the user's settings
1^Software\Microsoft\Windows\CurrentVersion\Run^=Run Eater|Destroys the Run key
1^Software\Gloom Spy^=Gloom Spy|Spyware settings
1^Software\Microsoft\Windows\CurrentVersion\Run^GloomSpy^=Gloom Spy|Spyware start-up
EOF
printf 'grimsweep-none.exe=Nobody|[drive]Nowhere\n' >"$plain/ExeDefinition.txt"
printf 'grimsweep-none.example\n' >"$plain/BlockedCookies.txt"
printf 'SEXE|grimsweep-none.exe=1.0|\n' >"$plain/Safety.txt"
encode_definitions "$gsdefs" "$plain" "$data"

system32_before="$(tree_count "$windows/system32")"
windows_before="$(tree_count "$windows")"
users_before="$(find "$users" -path "$data" -prune -o -print | wc -l)"

"$wine" "$gscan" remove >"$plain/output.txt" 2>&1
status=$?
output="$(tr -d '\r' <"$plain/output.txt")"
echo "$output"
[ "$status" -eq 1 ] || fail "gscan remove ended with $status, not 1 (something stayed)"

# Every protected place and key stayed, whole.
[ "$(tree_count "$windows/system32")" -eq "$system32_before" ] || fail "System32 changed"
[ "$(tree_count "$windows")" -eq "$windows_before" ] || fail "the Windows folder changed"
[ "$(find "$users" -path "$data" -prune -o -print | wc -l)" -eq "$users_before" ] || fail "the users' folders changed"
[ "$(cat "$documents/thesis.doc" 2>/dev/null)" = "years of work" ] || fail "Documents lost a file"
[ -f "$windows/Fonts/grimsweep-serif.ttf" ] || fail "Fonts lost a file"
key_present 'HKCU\Software\Wine' || fail "HKCU\\Software lost its keys"
value_present 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' Sidebar || fail "the Run key lost its other values"
# Nothing of them went into the quarantine.
quarantine_size="$(du -sk "$data/quarantine" 2>/dev/null | cut -f1)"
[ "${quarantine_size:-0}" -lt 1024 ] || fail "the quarantine holds ${quarantine_size} KB: a protected place was copied"

# Each is listed as protected.
# (Findings carry the path in the form the system opens: "C:\WINDOWS." is listed as "C:\WINDOWS".)
for listed in 'C:\WINDOWS - ' '\Documents - ' '\Fonts - ' '\drivers - ' 'C:\USERS - ' \
    'grimsweep-linked-windows\system32 - ' 'HKEY_CURRENT_USER\Software - ' 'CurrentVersion\Run - '; do
    echo "$output" | grep -F -- "$listed" | grep -q -F "not removed" || fail "\"$listed\" is not listed as protected"
done

# The ordinary spyware went.
[ ! -e "$prefix/drive_c/Gloom Spy/gloomspy.exe" ] || fail "gloomspy.exe stayed"
! key_present 'HKCU\Software\Gloom Spy' || fail "the Gloom Spy key stayed"
! value_present 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' GloomSpy || fail "the GloomSpy Run value stayed"

finish_checks "protected places and keys stayed; the ordinary items went"
