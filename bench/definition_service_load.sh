#!/usr/bin/env bash
# Load on the definition service: wrk holds 1,000 concurrent connections for 30 s (BENCH_SECONDS) against
# nginx serving the site that gsdefs site renders, then against gsdefs serve, both on loopback, asking the
# records page of a client at a publication date (a signed store of 10 publications of 10 records). Prints
# requests per second, p99 latency and errors (socket errors and answers other than 200) for each, and
# nginx's rate over gsdefs serve's.
# Argument: the Linux gsdefs (build/native/bin/gsdefs).
set -uo pipefail
gsdefs="$(realpath "${1:-build/native/bin/gsdefs}")"
seconds="${BENCH_SECONDS:-30}"
connections=1000
for tool in nginx wrk curl; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/test installs it)" >&2; exit 1; }
done
# Every connection is a file descriptor on both ends.
ulimit -n 65536 2>/dev/null || ulimit -n "$(ulimit -Hn)"
work="$(mktemp -d /tmp/grimsweep-service-load.XXXXXX)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

"$gsdefs" keygen "$work/vendor.key" >/dev/null
for month in $(seq 1 10); do
    for n in $(seq 1 10); do
        printf 'FILE|ADD|load%02d%02d.exe=Load Threat %d %d|[progfil]\\Load Threat\\|Adware\n' "$month" "$n" "$month" "$n"
    done | "$gsdefs" publish "$work/defs" "$month/1/2026 9:00:00 AM" --key "$work/vendor.key"
done
page="/asp/getDefsNEW.asp?prog=Grimsweep&comp=Lanternfish%20Software&date=5%2F1%2F2026%209%3A00%3A00%20AM"

# load NAME PORT: wrk against the page; prints the figures and keeps the rate in $rate.
load() {
    local out="$work/$1.wrk"
    curl -fs "http://127.0.0.1:$2$page" | grep -q 'p256=' || { echo "$1 does not answer the records page" >&2; exit 1; }
    wrk -t2 -c"$connections" -d"${seconds}s" --timeout 10s --latency "http://127.0.0.1:$2$page" >"$out"
    rate="$(awk '/^Requests\/sec:/ { print $2 }' "$out")"
    local p99 errors
    p99="$(awk '$1 == "99%" { print $2 }' "$out")"
    errors="$(awk '/Socket errors:/ { gsub(",", ""); print $4 + $6 + $8 + $10 } /Non-2xx/ { print $5 }' "$out" |
        awk '{ sum += $1 } END { print sum + 0 }')"
    printf '%-14s %10s requests/s   p99 %9s   errors %s   (%d connections, %d s)\n' "$1" "$rate" "$p99" "$errors" \
        "$connections" "$seconds"
}

port=$((20000 + RANDOM % 30000))
"$gsdefs" site "$work/defs" "$work/site" --port "$port"
user_directive=""
[ "$(id -u)" -ne 0 ] || user_directive="user root;"
nginx -p "$work/site" -c nginx.conf -g "daemon off; $user_directive" &
pids+=($!)
sleep 1
load nginx "$port"
nginx_rate="$rate"

"$gsdefs" serve "$work/defs" --port 0 >"$work/serve.out" &
pids+=($!)
for _ in $(seq 50); do
    grep -q '^listening on ' "$work/serve.out" && break
    sleep 0.1
done
load "gsdefs serve" "$(sed -n 's/^listening on .*://p' "$work/serve.out")"
awk -v a="$nginx_rate" -v b="$rate" 'BEGIN { printf "nginx / gsdefs serve: %.2f x the requests per second\n", a / b }'
