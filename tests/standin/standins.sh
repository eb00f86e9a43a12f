#!/usr/bin/env bash
# Puts the stand-ins of the adapter-table tests into the Wine prefix, or takes
# them out again: the TCP driver as a demand-start kernel-driver service
# (the tests start it), and the DLL override that makes the 95 and 98 poses
# load the WSOCK32.DLL stand-in beside the test programs. The ME pose keeps
# Wine's own, for the smoke test against it. Both steps are idempotent.
#   standins.sh install|remove WINE-RUN PREFIX DRIVER
set -u
action=$1 wine_run=$2 prefix=$3 driver=$4
service=kt_tcp_standin
run() { "$wine_run" "$prefix" "$@" </dev/null >/dev/null 2>&1; }
overrides() { echo "HKCU\\Software\\Wine\\AppDefaults\\kt_tests_$1.exe\\DllOverrides"; }

case $action in
install)
  for pose in win95 win98; do
    run reg add "$(overrides $pose)" /v wsock32 /d native,builtin /f || exit 1
  done
  path=$("$wine_run" "$prefix" winepath -w "$driver" </dev/null 2>/dev/null | tr -d '\r')
  [ -n "$path" ] || exit 1
  # A service left by the other build, or by a run that died, goes first.
  run sc stop $service
  run sc delete $service
  run sc create $service type= kernel start= demand binPath= "\\??\\$path"
  ;;
remove)
  run sc stop $service
  run sc delete $service
  for pose in win95 win98; do run reg delete "$(overrides $pose)" /f; done
  exit 0
  ;;
*)
  echo "usage: $0 install|remove WINE-RUN PREFIX DRIVER" >&2
  exit 2
  ;;
esac
