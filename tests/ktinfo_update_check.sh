#!/bin/sh
# `ktinfo update` against the tests' update server (run under harness.py):
# a pending offer whose reminder has passed is checked in the background,
# the server answers that there is no update, and the offer is gone.
#   ktinfo_update_check.sh WINE-RUN PREFIX KTINFO VIEW   (VIEW: 32 or 64)
set -eu
wine_run=$1 prefix=$2 ktinfo=$3 view=$4
product='Software\Tessaly\KtinfoUpdateCheck'
reg() { "$wine_run" "$prefix" reg "$@" "/reg:$view" >/dev/null; }
cleanup() {
  reg delete "HKLM\\$product" /f || true
  for v in HttpProxyEnabled HttpProxyServer HttpProxyPort; do
    reg delete 'HKLM\Software\Tessaly' /v $v /f || true
  done
}
trap cleanup EXIT
# The product's own proxy setting leads the compiled-in host to our server.
reg add 'HKLM\Software\Tessaly' /v HttpProxyEnabled /t REG_DWORD /d 1 /f
reg add 'HKLM\Software\Tessaly' /v HttpProxyServer /d 127.0.0.1 /f
reg add 'HKLM\Software\Tessaly' /v HttpProxyPort /t REG_DWORD /d "$KT_ORIGIN_PORT" /f
# The server answers by installed version: "no" means no update.
reg add "HKLM\\$product" /v CurrentVersion /d no /f
reg add "HKLM\\$product" /v UpdateAction /d http://old.example/ /f
reg add "HKLM\\$product" /v UpdateReminder /t REG_DWORD /d 1 /f
out=$("$wine_run" "$prefix" "$ktinfo" update KtinfoUpdateCheck --background)
echo "$out"
# The version shows ktinfo read the product's key; only an answer of no
# update deletes the offer.
echo "$out" | grep -q '^CurrentVersion: *"no"' &&
  echo "$out" | grep -q '^UpdateAction: *(not set)' &&
  echo "$out" | grep -q '^UpdateReminder: *(not set)'
