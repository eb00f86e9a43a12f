#!/bin/sh
# Prints our MD5 throughput as a ratio to OpenSSL's, both measured now.
#   md5_vs_openssl.sh PATH-TO-md5_bench
set -eu
ours=$("$1" | sed -n 's/^md5 bytes per second: //p')
# The last line reads "md5   <thousands of bytes per second>k".
theirs=$(openssl speed -bytes 16384 -seconds 3 md5 2>/dev/null |
  awk '$1 == "md5" && $2 ~ /k$/ { sub(/k$/, "", $2); print $2 * 1000 }' | tail -n 1)
[ -n "$ours" ] && [ -n "$theirs" ] || { echo "no figures" >&2; exit 1; }
awk -v o="$ours" -v t="$theirs" 'BEGIN {
  printf "md5: ours %.0f MB/s, OpenSSL %.0f MB/s, ratio %.2f (goal 0.95)\n",
         o / 1e6, t / 1e6, o / t }'
