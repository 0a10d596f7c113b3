#!/usr/bin/env bash
# The installer under Wine, in a Wine prefix of its own: a silent install puts the programs, the
# languages, the settings file, the Start-menu entry and the sample definitions in place and lists the
# uninstaller; the Start-menu entry starts the program; the installed gscan.exe scan finds the demo
# threats; a silent uninstall leaves no program file, Run value or uninstall entry and keeps the data
# folder; an uninstall answered by hand (on a display) removes the data folder when the user says Yes.
# Arguments: grimsweep-setup.exe, the demo threat program, the decoy program, grimsweep_press_buttons.
set -uo pipefail
source "$(dirname "$0")/../scripts/lib/setup.sh"
setup="$1"
threat="$2"
decoy="$3"
press="$4"
prefix="$(mktemp -d /tmp/grimsweep-installer-test.XXXXXX)"
trap 'grimsweep_wine_stop; rm -rf "$prefix"' EXIT
grimsweep_wine_prefix "$prefix"
# On Xvfb there is no window manager for the uninstaller's window to wait for.
[ -z "${DISPLAY:-}" ] || grimsweep_wine_without_window_manager
source "$(dirname "$0")/../scripts/lib/wine-checks.sh"

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Grimsweep'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
program="$(unix_path 'C:\Program Files\Grimsweep')"
menu="$(unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Grimsweep')"
appdata_windows="$(appdata_windows)"
data="$(unix_path "$appdata_windows\\AntiSpywareDAT")"

"$wine" "$setup" /S || fail "the installer ended with exit code $?"
for file in grimsweep.exe gscan.exe gsdefs.exe Localization.xml Grimsweep.ini uninstall.exe; do
    [ -f "$program/$file" ] || fail "$file is not installed in $program"
done
# The help, as built: the compiled file when chmcmd made one, and the plain pages.
bin="$(dirname "$setup")/bin"
if [ -f "$bin/Help.chm" ]; then
    cmp -s "$program/Help.chm" "$bin/Help.chm" || fail "Help.chm is not installed"
fi
[ -f "$program/help/index.html" ] || fail "the plain help pages are not installed"
cmp -s "$program/Localization.xml" "$(dirname "$setup")/bin/Localization.xml" || fail "Localization.xml differs"
[ -f "$menu/Grimsweep.lnk" ] || fail "no Start-menu entry in $menu"
value_present "$uninstall_key" UninstallString || fail "the uninstaller is not listed in Add/Remove Programs"
key_present 'HKLM\SOFTWARE\Lanternfish Software\Grimsweep\Settings' || fail "the machine key was not created"
! value_present "$run_key" grimsweep || fail "a Run value nobody chose was written"
for definition in FileDefinition DirectoryDefinition RegistryDefinition ExeDefinition BlockedCookies Safety; do
    [ -s "$data/$definition.dat" ] || fail "$definition.dat is not in the data folder $data"
done

# Another user of the machine (here: the same profile with its data folder emptied) gets the shipped
# definitions at the first start.
for definition in FileDefinition DirectoryDefinition RegistryDefinition ExeDefinition BlockedCookies Safety; do
    cmp -s "$program/Definitions/$definition.dat" "$data/$definition.dat" ||
        fail "$definition.dat is not shipped in $program/Definitions"
done
mv "$data" "$prefix/data-before"
"$wine" "$program/gscan.exe" >"$prefix/first-start.txt" 2>&1
grep -q "Filled from shipped.*6" "$prefix/first-start.txt" || fail "the first start did not fill the data folder"
grep -q "Welcome to Grimsweep" "$prefix/first-start.txt" || fail "gscan does not greet with the brand's name"
for definition in FileDefinition DirectoryDefinition RegistryDefinition ExeDefinition BlockedCookies Safety; do
    cmp -s "$program/Definitions/$definition.dat" "$data/$definition.dat" ||
        fail "$definition.dat was not filled into the emptied data folder"
done
rm -rf "$data"
mv "$prefix/data-before" "$data"

# Newer definitions are never replaced by a second install.
cp "$data/Safety.dat" "$prefix/Safety.dat"
printf 'newer' >"$data/Safety.dat"
"$wine" "$setup" /S /RUNATLOGON || fail "the second install ended with exit code $?"
[ "$(cat "$data/Safety.dat")" = newer ] || fail "a second install replaced the definitions in the data folder"
"$wine" reg query "$run_key" /v grimsweep 2>/dev/null | tr -d '\r' | grep -qF '"C:\Program Files\Grimsweep\grimsweep"' ||
    fail "/RUNATLOGON did not write the all-users Run value"
# What a standard user's program starts as administrator when its box is unticked.
"$wine" "$program/gscan.exe" run-at-logon off >/dev/null 2>&1 || fail "gscan run-at-logon off failed"
! value_present "$run_key" grimsweep || fail "gscan run-at-logon off left the all-users Run value"
cp "$prefix/Safety.dat" "$data/Safety.dat"

# The Start-menu entry starts the program (a first start: it waits in its language window).
"$wine" start 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Grimsweep\Grimsweep.lnk' >/dev/null 2>&1
wait_for 'pgrep -f "Grimsweep.grimsweep.exe" >/dev/null' 30 || fail "the Start-menu entry did not start grimsweep.exe"
"$wine" taskkill /IM grimsweep.exe /F >/dev/null 2>&1 || true
pkill -f "Grimsweep.grimsweep.exe" 2>/dev/null || true

# The installed console scanner finds the demo threats (exit code 1: threats found).
"$(dirname "$0")/../scripts/lib/plant-demo-threats" "$program/gscan.exe" "$threat" "$decoy" "$data" >/dev/null
"$wine" "$program/gscan.exe" scan >"$prefix/scan.txt" 2>&1
status=$?
[ "$status" -eq 1 ] || { fail "gscan scan from the installed folder ended with $status"; cat "$prefix/scan.txt"; }
[ -f "$WINEPREFIX/demo-helper.pid" ] && kill "$(cat "$WINEPREFIX/demo-helper.pid")" 2>/dev/null

# Silent uninstall: the uninstaller runs from a copy of itself, so the test waits for its work.
"$wine" "$program/uninstall.exe" /S
wait_for '! key_present "$uninstall_key" && [ ! -e "$program" ]' 60 || fail "the uninstaller did not finish"
[ ! -e "$program" ] || fail "program files are left: $(ls "$program")"
[ ! -e "$menu" ] || fail "the Start-menu entry is left"
value_present "$run_key" grimsweep && fail "the Run value is left"
key_present "$uninstall_key" && fail "the uninstall entry is left"
[ -s "$data/FileDefinition.dat" ] || fail "the silent uninstall removed the data folder"

# The uninstaller answered by hand: Uninstall, Yes to the question about the data folder, Close. The
# data folder with its quarantine goes too.
if [ -n "${DISPLAY:-}" ]; then
    "$wine" "$setup" /S || fail "the install before the answered uninstall ended with exit code $?"
    mkdir -p "$data/quarantine"
    printf 'quarantined\r\n' >"$data/quarantine/QuarantineLog.txt"
    "$wine" "$program/uninstall.exe" &
    "$wine" "$press" "Grimsweep Uninstall" Uninstall "Grimsweep Uninstall" Yes "Grimsweep Uninstall" Close ||
        fail "the uninstaller's pages and question were not answered"
    wait_for '! key_present "$uninstall_key" && [ ! -e "$program" ] && [ ! -e "$data" ]' 60 ||
        fail "after Yes the data folder or the program is left: $(ls "$data" "$program" 2>&1 | tr '\n' ' ')"
else
    echo "No display: the uninstall answered by hand is not checked."
fi

finish_checks "The installer installs, starts, scans and uninstalls as it should."
