#!/usr/bin/env bash
# The definition service as a static site on real nginx. gsdefs site renders a signed store; nginx serves
# it as its rendered nginx.conf says; gscan update under Wine applies it from before the first
# publication, from a publication date and from a date the site cannot place; the program's data
# submission reaches the site's log; rendering again while clients ask swaps the site without one broken
# answer. nginx and gsdefs serve each keep answering other clients within the time-out while slow clients
# trickle their requests, and gsdefs serve rotates its submission log at its limit.
# Arguments: gscan.exe, grimsweep_win32_tests.exe, the Linux gsdefs.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib/setup.sh"
gscan="$(realpath "$1")"
win32_tests="$(realpath "$2")"
gsdefs="$(realpath "$3")"
command -v nginx >/dev/null || { echo "nginx is not installed (scripts/test installs nginx-light)" >&2; exit 1; }
[ -x "$gsdefs" ] || { echo "no Linux gsdefs at $gsdefs (build the native preset first)" >&2; exit 1; }
prefix="$(mktemp -d /tmp/grimsweep-nginx-site.XXXXXX)"
work="$(mktemp -d /tmp/grimsweep-nginx-work.XXXXXX)"
site="$work/site"
nginx_pid=""
serve_pid=""
tricklers=()
stop_all() {
    kill "${tricklers[@]}" $serve_pid $nginx_pid 2>/dev/null
    wait $nginx_pid 2>/dev/null
    grimsweep_wine_stop
    rm -rf "$prefix" "$work"
}
trap stop_all EXIT
grimsweep_wine_prefix "$prefix"
source "$(dirname "$0")/../../scripts/lib/wine-checks.sh"
windows_path() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

"$gsdefs" keygen "$work/vendor.key" >"$work/vendor.line" || fail "gsdefs keygen"
vendor_line="$(cat "$work/vendor.line")"
older='FILE|ADD|older.exe=Older Threat|[windir]|Adware'
records='FILE|ADD|gloomupd.exe=Gloom Updater 6|[progfil]\Gloom\|Spyware
REG|ADD|gloomupd=Gloom Updater 6|1^Software\Microsoft\Windows\CurrentVersion\Run^gloomupd|Spyware'
printf '%s\n' "$older" | "$gsdefs" publish "$work/defs" "9/1/2006 4:00:00 PM" --key "$work/vendor.key" &&
    printf '%s\n' "$records" | "$gsdefs" publish "$work/defs" "10/1/2006 4:00:00 PM" --key "$work/vendor.key" ||
    fail "gsdefs publish"

# nginx runs as root's workers when the test runs as root: the test's folders are its own.
user_directive=""
[ "$(id -u)" -ne 0 ] || user_directive="user root;"
# A port that nothing else holds: nginx is started on random ones until it listens.
for _ in $(seq 10); do
    port=$((20000 + RANDOM % 30000))
    "$gsdefs" site "$work/defs" "$site" --port "$port" || fail "gsdefs site"
    nginx -p "$site" -c nginx.conf -g "daemon off; $user_directive" 2>"$work/nginx.err" &
    nginx_pid=$!
    wait_for "curl -fs http://127.0.0.1:$port/asp/date.asp >/dev/null || ! kill -0 $nginx_pid 2>/dev/null" 10
    kill -0 "$nginx_pid" 2>/dev/null && break
    grep -q "in use" "$work/nginx.err" || { cat "$work/nginx.err" >&2; fail "nginx did not start"; break; }
done
address="http://127.0.0.1:$port"
[ "$(curl -fs "$address/asp/currentDateNEW.asp?prog=Grimsweep")" = "10/1/2006 4:00:00 PM" ] ||
    fail "nginx does not answer the date page from the site"

data="$(unix_path "$(appdata_windows)\\AntiSpywareDAT")"
program="$prefix/drive_c/grimsweep-nginx"
mkdir -p "$data" "$program"
cp "$gscan" "$program/gscan.exe"
printf '[Services]\r\nDefinitions=%s\r\n%s\r\n' "$address" "$vendor_line" >"$program/Grimsweep.ini"
# update_from DATE OLDER [HELD]: gscan update for a client at DATE; OLDER says whether the client ends with
# the older record (once, even when HELD says it held that record before).
update_from() {
    rm -f "$data"/*
    local held='keep.exe=Keeper|[windir]|Adware'
    [ $# -lt 3 ] || held+=$'\n'"${older#FILE|ADD|}"
    printf '%s' "$held" | "$gsdefs" encode >"$data/FileDefinition.dat"
    printf '%s\r\n' "$1" >"$data/date.dat"
    "$wine" 'C:\grimsweep-nginx\gscan.exe' update >"$work/update.out" 2>&1 ||
        { fail "from $1: gscan update exited $?"; cat "$work/update.out" >&2; return; }
    "$gsdefs" decode "$data/FileDefinition.dat" | grep -qxF 'gloomupd.exe=Gloom Updater 6|[progfil]\Gloom\|Spyware' ||
        fail "from $1: the updater's record did not arrive intact"
    "$gsdefs" decode "$data/RegistryDefinition.dat" |
        grep -qxF '1^Software\Microsoft\Windows\CurrentVersion\Run^gloomupd^=Gloom Updater 6|Spyware' ||
        fail "from $1: the Run key record did not arrive intact"
    local expected=0 copies
    [ "$2" = no ] || expected=1
    copies="$("$gsdefs" decode "$data/FileDefinition.dat" | grep -c 'older.exe')"
    [ "$copies" -eq "$expected" ] || fail "from $1: $copies copies of the older record, not $expected"
    [ "$(head -n 1 "$data/date.dat" | tr -d '\r')" = "10/1/2006 4:00:00 PM" ] ||
        fail "from $1: the definitions date is not the signed one"
}
update_from "8/1/2006 12:00:00 AM" yes
update_from "9/1/2006 4:00:00 PM" no
update_from "9/15/2006 12:00:00 AM" yes
# A client between the publications that holds the older record already gets every record again.
update_from "9/15/2006 12:00:00 AM" yes held

# The program's own submissions, by the data submission tests, into nginx's log.
(cd "$(dirname "$win32_tests")" &&
    GRIMSWEEP_COLLECTION_SERVICE="$address" GRIMSWEEP_COLLECTION_LOG="$(windows_path "$site/logs/getData.log")" \
        "$wine" "$win32_tests" --gtest_filter='DataSubmissionTest.*' >"$work/submission.out" 2>&1) ||
    { fail "the submissions to nginx"; grep -E "Failure|Expected|Which is|FAILED" "$work/submission.out" >&2; }
[ "$(wc -l <"$site/logs/getData.log")" -eq 2 ] || fail "nginx logged $(wc -l <"$site/logs/getData.log") submissions, not 2"

# A new publication rendered five times over while a client keeps asking: every answer is the old one or
# the new one, whole.
records_page="$address/asp/getDefsNEW.asp?prog=Grimsweep&date=9%2F1%2F2006%204%3A00%3A00%20PM"
curl -fs "$records_page" >"$work/old-answer"
printf 'FILE|ADD|third.exe=Third|[windir]|Adware\n' | "$gsdefs" publish "$work/defs" "11/1/2006 4:00:00 PM" \
    --key "$work/vendor.key" || fail "the third publication"
"$gsdefs" site "$work/defs" "$work/preview" --port "$port" || fail "gsdefs site (preview)"
cp "$work/preview/current/records/9%2F1%2F2006%204%3A00%3A00%20PM.txt" "$work/new-answer"
(
    for _ in $(seq 300); do
        curl -fs "$records_page" >"$work/answer" || echo "no answer" >"$work/answer"
        cmp -s "$work/answer" "$work/old-answer" || cmp -s "$work/answer" "$work/new-answer" ||
            { echo broken >"$work/broken"; cp "$work/answer" "$work/broken-answer"; }
    done
) &
asker=$!
for _ in $(seq 5); do
    "$gsdefs" site "$work/defs" "$site" --port "$port" || fail "gsdefs site again"
done
wait "$asker"
[ ! -f "$work/broken" ] || fail "a client saw half a site: $(head -c 300 "$work/broken-answer")"
curl -fs "$records_page" | cmp -s - "$work/new-answer" || fail "the new publication did not reach the site"
[ "$(find "$site" -maxdepth 1 -name 'content-*' | wc -l)" -eq 2 ] || fail "older content folders were left"

# slow_clients NAME PORT: 20 clients trickle a request a byte every quarter second (past the 5 s
# time-out) while another client asks ten times; each of its answers must come within the time-out.
slow_clients() {
    local name="$1" port="$2" i
    tricklers=()
    for i in $(seq 20); do
        (
            exec 3<>"/dev/tcp/127.0.0.1/$port" || exit 0
            request=$'GET /asp/date.asp HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n'
            for ((c = 0; c < ${#request}; c++)); do
                printf '%s' "${request:c:1}" >&3 2>/dev/null || exit 0
                sleep 0.25
            done
        ) &
        tricklers+=($!)
    done
    sleep 1
    local slowest=0 took
    for i in $(seq 10); do
        took="$(curl -fs -o /dev/null --max-time 5 -w '%{time_total}' "http://127.0.0.1:$port/asp/date.asp")" ||
            { fail "$name: a client got no answer within 5 s while others trickled"; break; }
        slowest="$(printf '%s\n%s\n' "$slowest" "$took" | sort -g | tail -n 1)"
        sleep 0.3
    done
    kill "${tricklers[@]}" 2>/dev/null
    wait "${tricklers[@]}" 2>/dev/null
    tricklers=()
    echo "$name: slowest answer $slowest s while 20 clients trickled"
}
slow_clients nginx "$port"

mkdir -p "$work/serve" && cp "$work/defs"/* "$work/serve/"
"$gsdefs" serve "$work/serve" --port 0 --log-limit 300 >"$work/serve.out" &
serve_pid=$!
wait_for "grep -q '^listening on ' '$work/serve.out'" 10 || fail "gsdefs serve did not start"
serve_port="$(sed -n 's/^listening on .*://p' "$work/serve.out")"
slow_clients "gsdefs serve" "$serve_port"
for i in $(seq 20); do
    [ "$(curl -fs "http://127.0.0.1:$serve_port/asp/getData.asp?data=submission-$i%7C")" = Added ] ||
        fail "gsdefs serve did not take submission $i"
done
for log in getData.log getData.log.1; do
    size="$(stat -c %s "$work/serve/$log" 2>/dev/null || echo missing)"
    [ "$size" != missing ] && [ "$size" -le 300 ] || fail "gsdefs serve's $log: $size bytes, limit 300"
done
grep -q 'submission-20%7C' "$work/serve/getData.log" || fail "the newest submission is not in the log"
# gsdefs serve keeps its answers between publications only.
curl -fs "http://127.0.0.1:$serve_port/asp/date.asp" >/dev/null
printf 'FILE|ADD|fourth.exe=Fourth|[windir]|Adware\n' | "$gsdefs" publish "$work/serve" "12/1/2006 4:00:00 PM" \
    --key "$work/vendor.key" || fail "the fourth publication"
[ "$(curl -fs "http://127.0.0.1:$serve_port/asp/date.asp")" = "12/1/2006 4:00:00 PM" ] ||
    fail "gsdefs serve still answers from before the publication"

finish_checks "nginx site: updates, submissions, swaps and slow clients as expected"
