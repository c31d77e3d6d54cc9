#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CI leg for the Windows DLL: cross-builds build-windows/Tickora.dll with
# mingw-w64, checks that it exports plugMain alone, imports only system DLLs
# and carries its version resource, then runs the Windows smoke host against
# it under Wine on a virtual X display (GL comes from Mesa through Wine's
# WGL), and reads the DLL's clock across clock changes and New Year against
# the table the Linux tests check (host/ClockChanges.h). Must stay well under
# five minutes on a fresh machine; each step prints its time.
set -euo pipefail
cd "$(dirname "$0")/.."

leg_start=$SECONDS
step() { echo "--- $1 ($((SECONDS - leg_start)) s)" >&2; }

step "packages"
TICKORA_WINDOWS=1 scripts/install-deps.sh

step "configure + build (preset windows)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j 2

dll=build-windows/Tickora.dll
smoke=build-windows/tickora-smoke.exe
objdump=x86_64-w64-mingw32-objdump

step "exports and imports of $dll ($(stat -c %s "$dll") bytes)"
headers=$("$objdump" -p "$dll")
if ! grep -q 'file format pei-x86-64' <<<"$headers"; then
  echo "FAIL: $dll is not a Windows x86-64 image" >&2
  exit 1
fi
# The name table reads "[   0] plugMain", one line per exported name.
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
               table && /^[ \t]*\[/ { print $NF; next }
               table { exit }' <<<"$headers")
echo "exports: ${exports//$'\n'/ }"
if [[ "$exports" != "plugMain" ]]; then
  echo "FAIL: the DLL must export plugMain, undecorated, and nothing else" >&2
  exit 1
fi
imports=$(sed -n 's/^[ \t]*DLL Name: //p' <<<"$headers")
echo "imports: ${imports//$'\n'/ }"
# Only DLLs that every Windows installation has: the static runtime must
# leave no libstdc++-6, libgcc_s, libwinpthread-1 or zlib1 behind.
system_dlls=" advapi32 comdlg32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 opengl32 rpcrt4
  shell32 shlwapi user32 version wininet winmm ws2_32 "
bad=0
while read -r name; do
  base=$(tr '[:upper:]' '[:lower:]' <<<"${name%.*}")
  if [[ "$system_dlls" != *" $base "* && "$base" != api-ms-win-* ]]; then
    echo "FAIL: imports non-system DLL $name" >&2
    bad=1
  fi
done <<<"$imports"
if [[ $bad -ne 0 ]]; then exit 1; fi

step "version resource"
scripts/check-version-resource.sh "$dll"

step "smoke test under Wine"
WINEPREFIX=$(mktemp -d -t tickora-wine.XXXXXX)
export WINEPREFIX
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
export WINEDEBUG=-all WINEARCH=win64
# No .NET or HTML engine in a throw-away prefix: skips their install prompts.
export WINEDLLOVERRIDES="mscoree=;mshtml="
# The prefix is built first, its chatter kept aside, so that the report below
# is only the smoke host's. wineserver -w lets Wine finish before Xvfb goes.
#
# Then the clock: libfaketime freezes the unix wall clock, which Wine's ntdll
# reads, at the instant the smoke host writes to the clock file before each
# frame (seconds, FAKETIME_FMT=%s). File times stay real (NO_FAKE_STAT), or
# Wine would take the prefix for out of date and rebuild it at each start.
# Wine maps the unix TZ to a Windows zone; the smoke host hides the TZ
# variable Wine also copies into the process, as Windows sets none, except in
# the --keep-tz run, which is a user who has set TZ.
run_smoke='
if ! wineboot --init >"$WINEPREFIX/wineboot.log" 2>&1; then
  cat "$WINEPREFIX/wineboot.log" >&2
  wineserver -k
  exit 3
fi
wineserver -w
wine "$1" "$2"
rc=$?
wineserver -w
echo "--- clock changes under Wine ($((SECONDS)) s into the run)" >&2
references="Z:$WINEPREFIX/clock-references.txt"
clock() {
  env LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 \
    FAKETIME_TIMESTAMP_FILE="$WINEPREFIX/clock" FAKETIME_FMT=%s FAKETIME_NO_CACHE=1 \
    FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 TZ="$1" wine "$2" "$3" "${@:4}"
  local status=$?
  wineserver -w
  if [[ $status -ne 0 && $rc -eq 0 ]]; then rc=$status; fi
}
clock UTC "$1" "$2" --clock-reference "$references"
clock Europe/Berlin "$1" "$2" --clock-zone Europe/Berlin "$references"
clock America/New_York "$1" "$2" --clock-zone America/New_York "$references"
clock Europe/Berlin "$1" "$2" --clock-zone Europe/Berlin "$references" --keep-tz
exit $rc'
status=0
timeout -k 10 240 xvfb-run -a bash -c "$run_smoke" smoke "$smoke" "$dll" || status=$?
step "done, smoke exit status $status"
exit "$status"
