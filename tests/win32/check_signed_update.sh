#!/usr/bin/env bash
# gscan update under Wine, in a Wine prefix of its own, against gsdefs serve with a definition key set in
# Grimsweep.ini: publications signed with the vendor's key, by the Linux gsdefs (OpenSSL) and by
# gsdefs.exe (CNG), are applied, and a record holding "u", "6" and "CurrentVersion" arrives intact; a
# publication signed with another key, one with a byte changed, an older answer replayed and an unsigned
# one are refused with exit 2 and change nothing. A server that trickles its answer ends the update with
# exit 2 within the fetch's deadline.
# Arguments: gscan.exe, gsdefs.exe, the Linux gsdefs, grimsweep_trickle_server.exe.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/setup.sh"
gscan="$1"
gsdefs_exe="$2"
gsdefs="$3"
trickle_server="$4"
prefix="$(mktemp -d /tmp/grimsweep-signed-update.XXXXXX)"
work="$(mktemp -d /tmp/grimsweep-signed-services.XXXXXX)"
serve_pid=""
trickle_pid=""
trap 'kill $serve_pid $trickle_pid 2>/dev/null; grimsweep_wine_stop; rm -rf "$prefix" "$work"' EXIT
grimsweep_wine_prefix "$prefix"
source "$(dirname "$0")/../../scripts/lib/wine-checks.sh"
windows_path() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
[ -x "$gsdefs" ] || { echo "no Linux gsdefs at $gsdefs (build the native preset first)" >&2; exit 1; }

data="$(unix_path "$(appdata_windows)\\AntiSpywareDAT")"
[ -n "$data" ] || { echo "the prefix has no profile" >&2; exit 1; }
mkdir -p "$data"
program="$prefix/drive_c/grimsweep-signed"
mkdir -p "$program"
cp "$gscan" "$program/gscan.exe"

# The vendor's key made by OpenSSL; another key made by CNG.
"$gsdefs" keygen "$work/vendor.key" >"$work/vendor.line" || fail "gsdefs keygen"
"$wine" "$gsdefs_exe" keygen "$(windows_path "$work/other.key")" >"$work/other.line" 2>/dev/null ||
    fail "gsdefs.exe keygen"
vendor_line="$(tr -d '\r' <"$work/vendor.line")"
[[ "$vendor_line" =~ ^DefinitionKey=04[0-9a-f]{128}$ ]] || fail "keygen printed no key line: $vendor_line"

older='FILE|ADD|older.exe=Older Threat|[windir]|Adware'
records='FILE|ADD|gloomupd.exe=Gloom Updater 6|[progfil]\Gloom\|Spyware
REG|ADD|gloomupd=Gloom Updater 6|1^Software\Microsoft\Windows\CurrentVersion\Run^gloomupd|Spyware'
# publish FOLDER RUNNER [KEYFILE]: the two publications, signed when a key file is named.
publish() {
    local folder="$1" runner="$2" key=()
    mkdir -p "$folder"
    if [ "$runner" = linux ]; then
        [ $# -ge 3 ] && key=(--key "$3")
        printf '%s\n' "$older" | "$gsdefs" publish "$folder" "9/1/2006 4:00:00 PM" "${key[@]}" &&
            printf '%s\n' "$records" | "$gsdefs" publish "$folder" "10/1/2006 4:00:00 PM" "${key[@]}"
    else
        [ $# -ge 3 ] && key=(--key "$(windows_path "$3")")
        printf '%s\n' "$older" |
            "$wine" "$gsdefs_exe" publish "$(windows_path "$folder")" "9/1/2006 4:00:00 PM" "${key[@]}" &&
            printf '%s\n' "$records" |
            "$wine" "$gsdefs_exe" publish "$(windows_path "$folder")" "10/1/2006 4:00:00 PM" "${key[@]}"
    fi
}
publish "$work/signed" linux "$work/vendor.key" || fail "publish signed (OpenSSL)"
publish "$work/signed-cng" wine "$work/vendor.key" 2>/dev/null || fail "publish signed (CNG)"
publish "$work/unsigned" linux || fail "publish unsigned"
publish "$work/other-key" wine "$work/other.key" 2>/dev/null || fail "publish with another key"
cp -r "$work/signed" "$work/changed"
# One byte of the last record (stored encoded) changed.
sed -i '$s/.$/~/' "$work/changed/published.txt"
# The answer once made for clients before the first publication, sent to a client at 10/15/2006: the
# records dated after that client, the signatures as they were.
cp -r "$work/signed" "$work/replayed"
sed -i 's|^[^\t]*\t|11/1/2006 4:00:00 PM\t|' "$work/replayed/published.txt"
cmp -s "$work/signed/published.txt" "$work/changed/published.txt" && fail "no byte changed"

# A server that trickles, running alongside: the update it answers must end within the deadline (120 s
# for the whole answer, plus a receive limit of 15 s).
trickle_program="$prefix/drive_c/grimsweep-trickle"
mkdir -p "$trickle_program"
cp "$gscan" "$trickle_program/gscan.exe"
"$wine" "$trickle_server" >"$work/trickle.out" 2>/dev/null &
trickle_pid=$!
for _ in $(seq 100); do
    grep -q '^listening on ' "$work/trickle.out" && break
    sleep 0.1
done
trickle_address="$(sed -n 's/^listening on //p' "$work/trickle.out" | tr -d '\r')"
[ -n "$trickle_address" ] || fail "the trickling server did not start"
printf '[Services]\r\nDefinitions=%s\r\n%s\r\n' "$trickle_address" "$vendor_line" >"$trickle_program/Grimsweep.ini"
trickle_started=$SECONDS
("$wine" 'C:\grimsweep-trickle\gscan.exe' update >"$work/trickle-update.out" 2>&1; echo $? >"$work/trickle.status") &
trickle_update=$!

# run_case NAME SERVICE CLIENT_DATE EXPECTED_EXIT: gscan update from CLIENT_DATE against SERVICE.
run_case() {
    local name="$1" service="$2" client_date="$3" expected="$4"
    rm -f "$data"/*
    printf 'keep.exe=Keeper|[windir]|Adware' | "$gsdefs" encode >"$data/FileDefinition.dat"
    printf '%s\r\n' "$client_date" >"$data/date.dat"
    cp -r "$data" "$work/before"
    "$gsdefs" serve "$service" --port 0 >"$work/serve.out" &
    serve_pid=$!
    for _ in $(seq 50); do
        grep -q '^listening on ' "$work/serve.out" && break
        sleep 0.1
    done
    local address
    address="$(sed -n 's/^listening on //p' "$work/serve.out")"
    printf '[Services]\r\nDefinitions=%s\r\n%s\r\n' "$address" "$vendor_line" >"$program/Grimsweep.ini"
    local status=0
    "$wine" 'C:\grimsweep-signed\gscan.exe' update >"$work/update.out" 2>&1 || status=$?
    kill "$serve_pid" 2>/dev/null
    wait "$serve_pid" 2>/dev/null
    serve_pid=""
    [ "$status" -eq "$expected" ] || { fail "$name: gscan update exited $status, not $expected"; cat "$work/update.out" >&2; }
    if [ "$expected" -ne 0 ]; then
        diff -r "$work/before" "$data" >/dev/null || fail "$name: the data folder changed"
        grep -q "could not be verified" "$work/update.out" || fail "$name: gscan did not say why"
    fi
    rm -rf "$work/before"
}
for signed in signed signed-cng; do
    run_case "$signed" "$work/$signed" "9/15/2006" 0
    "$gsdefs" decode "$data/FileDefinition.dat" | grep -qxF 'gloomupd.exe=Gloom Updater 6|[progfil]\Gloom\|Spyware' ||
        fail "$signed: the updater's record did not arrive intact"
    "$gsdefs" decode "$data/RegistryDefinition.dat" |
        grep -qxF '1^Software\Microsoft\Windows\CurrentVersion\Run^gloomupd^=Gloom Updater 6|Spyware' ||
        fail "$signed: the Run key record did not arrive intact"
    "$gsdefs" decode "$data/FileDefinition.dat" | grep -q 'older.exe' && fail "$signed: an older record came again"
    [ "$(head -n 1 "$data/date.dat" | tr -d '\r')" = "10/1/2006 4:00:00 PM" ] ||
        fail "$signed: the definitions date is not the signed one"
done
run_case "another key" "$work/other-key" "9/15/2006" 2
run_case "a byte changed" "$work/changed" "9/15/2006" 2
run_case "an older answer replayed" "$work/replayed" "10/15/2006" 2
run_case "unsigned" "$work/unsigned" "9/15/2006" 2

wait "$trickle_update"
trickle_seconds=$((SECONDS - trickle_started))
[ "$(cat "$work/trickle.status" 2>/dev/null)" = 2 ] || fail "the trickled update did not exit 2: $(cat "$work/trickle-update.out")"
[ "$trickle_seconds" -le 150 ] || fail "the trickled update took $trickle_seconds s"
echo "a trickling server ended gscan update after $trickle_seconds s"

finish_checks "signed update: every case as expected"
