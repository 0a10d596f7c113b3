#!/usr/bin/env bash
# gscan scan and gscan remove under Wine's 64-bit prefix, which has both views as 64-bit Windows does:
# threats planted among the 32-bit programs (C:\Program Files (x86), C:\windows\syswow64 and
# HKLM\Software\Wow6432Node), named by definitions in the ordinary [progfil], [system] and HKLM\Software
# form, are listed with their real locations and removed, a read-only file included, which a restore
# brings back read-only, and the removal as administrator (gscan remove-listed) removes it again.
# Arguments: gscan.exe, gsdefs.exe.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/setup.sh"
gscan="$1"
gsdefs="$2"
prefix="$(mktemp -d /tmp/grimsweep-wow64.XXXXXX)"
plain="$(mktemp -d /tmp/grimsweep-wow64-definitions.XXXXXX)"
trap 'grimsweep_wine_stop; rm -rf "$prefix" "$plain"' EXIT
grimsweep_wine_prefix "$prefix"
source "$(dirname "$0")/../../scripts/lib/wine-checks.sh"

data="$(unix_path "$(appdata_windows)\\AntiSpywareDAT")"
programs32="$(unix_path 'C:\Program Files (x86)')"
syswow64="$(unix_path 'C:\windows\syswow64')"
[ -n "$data" ] && [ -d "$programs32" ] && [ -d "$syswow64" ] || { echo "the prefix has no 32-bit folders" >&2; exit 1; }

mkdir -p "$programs32/Gloom Wow"
echo "MZ gloom wow" >"$programs32/Gloom Wow/gloomwow.exe"
chmod a-w "$programs32/Gloom Wow/gloomwow.exe" # read-only, as Windows shows it
echo "MZ gloom hook" >"$syswow64/gloomhook32.dll"
"$wine" reg add 'HKLM\Software\Wow6432Node\Gloom Wow' /v Level /d 3 /f >/dev/null 2>&1
key_present 'HKLM\Software\Wow6432Node\Gloom Wow' || fail "the 32-bit key could not be planted"

printf '%s\n' 'gloomwow.exe=Gloom Wow|[progfil]\Gloom Wow\|Spyware' 'gloomhook32.dll=Gloom Hook|[system]|Spyware' \
    >"$plain/FileDefinition.txt"
printf '%s\n' '2^Software\Gloom Wow^=Gloom Wow Key|Spyware settings' >"$plain/RegistryDefinition.txt"
printf 'grimsweep-none=Nobody|[drive]Nowhere|x\n' >"$plain/DirectoryDefinition.txt"
printf 'grimsweep-none.exe=Nobody|[drive]Nowhere\n' >"$plain/ExeDefinition.txt"
printf 'grimsweep-none.example\n' >"$plain/BlockedCookies.txt"
printf 'SEXE|grimsweep-none.exe=1.0|\n' >"$plain/Safety.txt"
encode_definitions "$gsdefs" "$plain" "$data"

"$wine" "$gscan" scan >"$plain/scan.txt" 2>&1
status=$?
scan="$(tr -d '\r' <"$plain/scan.txt")"
[ "$status" -eq 1 ] || { fail "gscan scan ended with $status, not 1"; echo "$scan"; }
for listed in 'C:\Program Files (x86)\Gloom Wow\gloomwow.exe' 'syswow64\gloomhook32.dll' \
    'HKEY_LOCAL_MACHINE\Software\Wow6432Node\Gloom Wow'; do
    echo "$scan" | grep -qiF -- "$listed" || fail "gscan scan does not list $listed"
done

"$wine" "$gscan" remove >"$plain/remove.txt" 2>&1
status=$?
[ "$status" -eq 0 ] || { fail "gscan remove ended with $status, not 0"; tr -d '\r' <"$plain/remove.txt"; }
[ ! -e "$programs32/Gloom Wow/gloomwow.exe" ] || fail "the read-only gloomwow.exe stayed"
[ ! -e "$syswow64/gloomhook32.dll" ] || fail "gloomhook32.dll stayed in syswow64"
! key_present 'HKLM\Software\Wow6432Node\Gloom Wow' || fail "the 32-bit key stayed"
[ -d "$syswow64" ] && [ -d "$programs32" ] || fail "a 32-bit system folder went"

# The read-only file comes back read-only.
"$wine" "$gscan" restore gloomwow.exe >"$plain/restore.txt" 2>&1 ||
    { fail "gscan restore gloomwow.exe failed"; tr -d '\r' <"$plain/restore.txt"; }
restored="$programs32/Gloom Wow/gloomwow.exe"
[ -f "$restored" ] || fail "gloomwow.exe did not come back"
[ -f "$restored" ] && [[ "$(stat -c %A "$restored")" != *w* ]] || fail "gloomwow.exe came back writable"

# The removal as administrator that a standard user's program starts: "gscan remove-listed" carries out
# only the job whose SHA-256 it is given, into the user's own quarantine.
appdata="$(appdata_windows)\\AntiSpywareDAT"
target='C:\Program Files (x86)\Gloom Wow\gloomwow.exe'
printf 'Grimsweep removal job\r\ndata\t%s\r\nrow\tfiles\t0\t%s\tGloom Wow\r\nrow\tremoval\t3\tGloom Wow\t%s\r\n' \
    "$appdata" "$target" "$target" >"$data/ElevatedRemoval.txt"
job="$appdata\\ElevatedRemoval.txt"
digest="$(sha256sum "$data/ElevatedRemoval.txt" | cut -d' ' -f1)"
other="$(printf 'another job' | sha256sum | cut -d' ' -f1)"
"$wine" "$gscan" remove-listed "$job" "$other" >"$plain/listed.txt" 2>&1
status=$?
[ "$status" -eq 2 ] && [ -f "$restored" ] || fail "a job with another digest ended with $status"
"$wine" "$gscan" remove-listed "$job" "$digest" >"$plain/listed.txt" 2>&1
status=$?
[ "$status" -eq 0 ] || { fail "gscan remove-listed ended with $status"; tr -d '\r' <"$plain/listed.txt"; }
[ ! -e "$restored" ] || fail "gscan remove-listed left gloomwow.exe"
[ "$(grep -c 'gloomwow' "$data/quarantine/QuarantineIndex.txt" 2>/dev/null)" -ge 2 ] ||
    fail "the second removal of gloomwow.exe is not in the user's quarantine index"

finish_checks "32-bit threats listed with their real places and removed"
