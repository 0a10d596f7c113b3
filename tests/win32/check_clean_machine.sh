#!/usr/bin/env bash
# The shipped sample definitions on a clean machine: a Wine prefix dressed with what a Windows 10/11
# user's machine has (Internet Explorer's and Edge's start pages, the usual Run values, Defender, OneDrive,
# two browsers, one of them running, common cookies) is scanned with them, and gscan scan lists nothing
# and exits 0. Every record of the samples must name invented items only.
# Arguments: gscan.exe, the folder of the encoded sample definitions, a helper program that idles.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/setup.sh"
gscan="$1"
samples="$2"
helper="$3"
prefix="$(mktemp -d /tmp/grimsweep-clean-machine.XXXXXX)"
trap 'grimsweep_wine_stop; rm -rf "$prefix"' EXIT
grimsweep_wine_prefix "$prefix"
source "$(dirname "$0")/../../scripts/lib/wine-checks.sh"

appdata="$(appdata_windows)"
data="$(unix_path "$appdata\\AntiSpywareDAT")"
local_appdata="$(unix_path "$("$wine" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')")"
programs="$(unix_path 'C:\Program Files')"
common="$(unix_path 'C:\Program Files\Common Files')"
windows="$(unix_path 'C:\windows')"
cookies="$(gscan_folder "$gscan" cookies)"
[ -n "$data" ] && [ -n "$cookies" ] && [ -d "$programs" ] && [ -d "$windows" ] || { echo "the prefix has no profile" >&2; exit 1; }

# Start pages, Run values and the keys of the usual programs.
reg_add() { "$wine" reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1 || fail "could not set $1\\$2"; }
reg_add 'HKCU\Software\Microsoft\Internet Explorer\Main' 'Start Page' 'https://www.msn.com/'
reg_add 'HKCU\Software\Microsoft\Internet Explorer\Main' 'Search Page' 'https://www.bing.com/'
reg_add 'HKLM\SOFTWARE\Microsoft\Internet Explorer\Main' 'Start Page' 'https://go.microsoft.com/fwlink/p/?LinkId=255141'
reg_add 'HKLM\SOFTWARE\Policies\Microsoft\Edge' 'HomepageLocation' 'https://www.msn.com/'
reg_add 'HKCU\Software\Microsoft\Edge\Main' 'Start Page' 'https://www.msn.com/'
reg_add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' 'OneDrive' \
    '"C:\Users\user\AppData\Local\Microsoft\OneDrive\OneDrive.exe" /background'
reg_add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' 'SecurityHealth' \
    '%windir%\system32\SecurityHealthSystray.exe'
reg_add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' 'RtkAudUService' \
    '"C:\windows\System32\DriverStore\FileRepository\realtekservice.inf_amd64\RtkAudUService64.exe" -background'
reg_add 'HKLM\SOFTWARE\Microsoft\Windows Defender' 'ProductAppDataPath' 'C:\ProgramData\Microsoft\Windows Defender'
reg_add 'HKLM\SOFTWARE\Google\Chrome' 'Installed' '1'
reg_add 'HKLM\SOFTWARE\Mozilla\Mozilla Firefox' 'CurrentVersion' '120.0 (x64 en-US)'

# Defender, OneDrive, the browsers (Chrome running), shared components.
mkdir -p "$programs/Windows Defender" "$programs/Google/Chrome/Application" "$programs/Mozilla Firefox" \
    "$common/microsoft shared/ClickToRun" "$local_appdata/Microsoft/OneDrive" "$cookies"
printf 'MZ' >"$programs/Windows Defender/MsMpEng.exe"
printf 'MZ' >"$programs/Windows Defender/MpCmdRun.exe"
printf 'MZ' >"$programs/Mozilla Firefox/firefox.exe"
printf 'MZ' >"$common/microsoft shared/ClickToRun/OfficeClickToRun.exe"
printf 'MZ' >"$local_appdata/Microsoft/OneDrive/OneDrive.exe"
printf 'MZ' >"$windows/system32/SecurityHealthSystray.exe"
cp "$helper" "$programs/Google/Chrome/Application/chrome.exe"
"$wine" "$programs/Google/Chrome/Application/chrome.exe" &
browser=$!

# Cookies of sites everyone visits.
user="$(id -un)"
for site in google bing microsoft msn youtube amazon wikipedia; do
    printf 'id\n1\nwww.%s.com/\n1536\n' "$site" >"$cookies/$user@$site[1].txt"
done

mkdir -p "$data"
for name in FileDefinition DirectoryDefinition RegistryDefinition ExeDefinition BlockedCookies Safety; do
    cp "$samples/$name.dat" "$data/$name.dat" || fail "no sample $name.dat in $samples"
done

"$wine" "$gscan" scan >"$prefix/scan.txt" 2>&1
status=$?
[ "$status" -eq 0 ] || { fail "gscan scan on a clean machine ended with $status, not 0"; tr -d '\r' <"$prefix/scan.txt"; }
grep -q "^Results (0):" <(tr -d '\r' <"$prefix/scan.txt") || fail "gscan scan listed something on a clean machine"
[ -n "$(grep -ai "registry entries inspected" "$prefix/scan.txt")" ] || fail "the scan did not run"
kill "$browser" 2>/dev/null
finish_checks "the shipped definitions find nothing on a clean machine"
