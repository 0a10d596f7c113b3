#!/bin/bash
# gsdefs publish and gsdefs serve end to end: two publications and two refused ones, the pages over
# HTTP from a server on a free port, and a clean stop (exit 0) on SIGTERM and on Ctrl+C (SIGINT). The
# server never outlives the script.
set -u
gsdefs=$1
work=$2
rm -rf "$work" && mkdir -p "$work" || exit 1
fail() {
    echo "FAIL: $*"
    exit 1
}

printf 'EXE|ADD|evil.exe=Evil Threat|details\n' | "$gsdefs" publish "$work" 3/20/2006 || fail "first publish"
printf 'COOK|ADD|trackmoth=x\r\nFILE|DEL|old.exe\r\n' | "$gsdefs" publish "$work" "9/1/2006 4:00:00 PM" ||
    fail "second publish"
printf 'COOK|ADD|fine=x\nCOOK|MOVE|bad=x\n' | "$gsdefs" publish "$work" 9/2/2006 2>/dev/null
[ $? -eq 2 ] || fail "a bad line must exit 2"
printf 'COOK|ADD|fine=x\n' | "$gsdefs" publish "$work" 31/1/2006 2>/dev/null
[ $? -eq 2 ] || fail "a bad date must exit 2"
[ "$(wc -l <"$work/published.txt")" -eq 3 ] || fail "refused publications must store nothing"
echo '<strings/>' >"$work/Localization.xml"

# Starts the server on a free port; sets pid and port.
start() {
    "$gsdefs" serve "$work" --port 0 >"$work/serve.out" 2>&1 &
    pid=$!
    trap 'kill -9 $pid 2>/dev/null' EXIT
    port=""
    for _ in $(seq 50); do
        port=$(sed -n '1s|^listening on http://127\.0\.0\.1:\([0-9][0-9]*\)$|\1|p' "$work/serve.out")
        [ -n "$port" ] && break
        sleep 0.1
    done
    [ -n "$port" ] && [ "$port" != 0 ] || fail "no listening line: $(cat "$work/serve.out")"
}
# Sends the signal and expects the server to end with exit 0.
stop_with() {
    kill "-$1" "$pid"
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "still running after SIG$1"
    wait "$pid"
    local status=$?
    trap - EXIT
    [ "$status" -eq 0 ] || fail "exit $status after SIG$1"
}

start
get() { curl -s --max-time 3 "http://127.0.0.1:$port$1"; }
code() { curl -s --max-time 3 -o /dev/null -w '%{http_code}' "http://127.0.0.1:$port$1"; }
# The status line of a request sent as it stands: HTTP allows no blank in the target, so a date with
# blanks must arrive percent-encoded, as Live Update sends it.
raw_status() {
    exec 3<>"/dev/tcp/127.0.0.1/$port" || return
    printf 'GET %s HTTP/1.0\r\nHost: x\r\n\r\n' "$1" >&3
    head -n 1 <&3 | cut -d' ' -f2
    exec 3<&-
}

[ "$(get '/asp/currentDateNEW.asp?prog=Grimsweep&comp=Us')" = "9/1/2006 4:00:00 PM" ] || fail "current date"
[ "$(get /asp/date.asp)" = "9/1/2006 4:00:00 PM" ] || fail "date page"
cook=$(printf 'COOK\n' | "$gsdefs" encode | tr -d '\r\n')
file=$(printf 'FILE\n' | "$gsdefs" encode | tr -d '\r\n')
after=$(get '/asp/getDefsNEW.asp?prog=Grimsweep&comp=Us&date=3%2F20%2F2006')
case "$after" in
"$cook|ADD[DEF]"*"[BR]$file|DEL[DEF]"*) ;;
*) fail "records after 3/20/2006: $after" ;;
esac
all=$(get '/asp/getDefsNEW.asp?prog=Grimsweep&comp=Us&date=3/16/2006%2011:59:59%20PM')
[ "$(grep -o '\[BR\]' <<<"$all" | wc -l)" -eq 2 ] || fail "all three records: $all"
[ "$(raw_status '/asp/getDefsNEW.asp?date=3/16/2006 11:59:59 PM')" = 400 ] || fail "a target with blanks"
[ -z "$(get '/asp/getDefsNEW.asp?prog=A&comp=B&date=9/1/2006%204:00:00%20PM')" ] || fail "nothing newer"
[ "$(get '/asp/getData.asp?prog=A&data=1')" = Added ] || fail "data page"
[ "$(cat "$work/getData.log")" = "prog=A&data=1" ] || fail "data log"
[ "$(get /Languages/21/Localization.xml)" = "<strings/>" ] || fail "localization"
[ "$(code /nothing/here)" = 404 ] || fail "unknown page"

stop_with TERM
start
[ "$(get /asp/date.asp)" = "9/1/2006 4:00:00 PM" ] || fail "date page after a restart"
stop_with INT

# gsdefs site: each rendering a new content folder behind the link, the one before kept, older ones gone;
# a site whose "current" is no link of ours is left alone.
site="$work/site"
for n in 1 2 3; do
    "$gsdefs" site "$work" "$site" --port 8080 || fail "gsdefs site, rendering $n"
    [ "$(readlink "$site/current")" = "content-$n" ] || fail "rendering $n: current is $(readlink "$site/current")"
done
[ -d "$site/content-2" ] && [ ! -e "$site/content-1" ] || fail "the content before was not kept, or older stayed"
[ "$(cat "$site/current/current-date.txt")" = "9/1/2006 4:00:00 PM" ] || fail "the site's date page"
[ "$(cat "$site/current/records/3%2F20%2F2006.txt")" = "$after" ] || fail "the site's records for 3/20/2006"
[ "$(cat "$site/current/Localization.xml")" = "<strings/>" ] || fail "the site's language file"
grep -q '^        listen 127.0.0.1:8080;$' "$site/nginx.conf" || fail "nginx.conf listens elsewhere"
"$gsdefs" site "$work" "$site" --port 0 2>/dev/null && fail "port 0 for nginx"
rm "$site/current" && mkdir "$site/current"
"$gsdefs" site "$work" "$site" 2>"$work/site.err" && fail "a folder named current was replaced"
grep -q "no link made by gsdefs site" "$work/site.err" || fail "no reason given: $(cat "$work/site.err")"
[ ! -e "$site/content-4" ] || fail "content written beside a foreign current"
echo "service answered every page and stopped cleanly; the site was rendered and replaced"
