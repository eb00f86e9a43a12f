#!/bin/sh
# Our GET of a 64 MiB body beside curl's, from the same origin server, run
# under tests/servers/harness.py (KT_ORIGIN_PORT):
#   http_vs_curl.sh WINE-RUN PREFIX PATH-TO-http_get_bench.exe
set -eu
url=http://127.0.0.1:$KT_ORIGIN_PORT/pattern/67108864/curl
best=0
for run in 1 2 3 4; do
  # The first run fills the server's cache of the pattern: not counted.
  speed=$(curl -s -o /dev/null -w '%{speed_download}' "$url")
  [ "$run" -eq 1 ] || best=$(awk -v a="$best" -v b="$speed" 'BEGIN { print (b > a ? b : a) }')
done
out=$("$1" "$2" "$3")
echo "$out"
ours=$(echo "$out" | sed -n 's/^http bytes per second: //p')
[ -n "$ours" ] && [ "$best" != 0 ] || { echo "no figures" >&2; exit 1; }
awk -v o="$ours" -v t="$best" 'BEGIN {
  printf "http GET 64 MiB: ours %.0f MB/s, curl %.0f MB/s, ratio %.2f (goal 0.8)\n",
         o / 1e6, t / 1e6, o / t }'
