#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the user guide's pictures (docs/images/guide-*.png) with
# tickora-render under a frozen or stepped clock (libfaketime), so that anyone
# can regenerate the same pictures. Each display type, and each Countdown,
# Timer and Stopwatch control that a picture explains, is shown with the
# settings that docs/USER-GUIDE.md names beside it.
#
#   scripts/render-guide-pictures.sh [OUTPUT_FOLDER]   (default docs/images)
#
# Needs a build (scripts/main.sh or cmake --build --preset release);
# TICKORA_RENDER points at another tickora-render binary.
set -euo pipefail
cd "$(dirname "$0")/.."
render="${TICKORA_RENDER:-build/tickora-render}"
out="${1:-docs/images}"
faketime_lib=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1

if [[ ! -x "$render" ]]; then
  echo "render-guide-pictures: no $render; build first (scripts/main.sh)" >&2
  exit 1
fi
if [[ ! -e "$faketime_lib" ]]; then
  echo "render-guide-pictures: no $faketime_lib; run scripts/install-deps.sh" >&2
  exit 1
fi
mkdir -p "$out"

# at MOMENT COMMAND...: the wall clock stands still at MOMENT (UTC,
# "YYYY-MM-DD HH:MM:SS[.f]"); monotonic clocks stay real, as llvmpipe's
# threads wait on them.
at() {
  local moment="$1"
  shift
  LD_PRELOAD="$faketime_lib" FAKETIME="$moment" FAKETIME_DONT_FAKE_MONOTONIC=1 TZ=UTC "$@"
}
# frozen TIME COMMAND...: at TIME on 8 December 2026.
frozen() {
  local time="$1"
  shift
  at "2026-12-08 $time" "$@"
}
look=(--size 960x540 --background "#1d2126" --set "Font=Liberation Sans")

# White, bold, with hundredths: 10:09:59:50.
frozen 10:09:59.5 "$render" "${look[@]}" --set Type=Digital --set Style=Bold \
  --set Color_saturation=0 --set Color_brighthnes=1 --set "Show Millisecs=on" \
  --out "$out/guide-digital.png"
# A sky blue face at ten past ten.
frozen 10:09:59.5 "$render" "${look[@]}" --set Type=Classic --set Color=0.55 \
  --set Color_saturation=1 --set Color_brighthnes=1 --out "$out/guide-classic.png"
# Two days, five hours and ten minutes before 15:20 on 10 December ("Date"
# element 2 is two days after the loading day): 53:10:00, in yellow.
frozen 10:10:00 "$render" "${look[@]}" --set Type=Countdown --set Date=2 --set Hour=15 \
  --set Minute=20 --set Color=0.1667 --set Color_saturation=1 --set Color_brighthnes=1 \
  --out "$out/guide-countdown.png"

# The countdown controls of 1.2, in white so that the warning colour stands
# out. The clock is UTC, so the local target 2027-01-01 00:00 is midnight UTC.
countdown=("${look[@]}" --set Type=Countdown --set Color_saturation=0 --set Color_brighthnes=1)
new_year=("${countdown[@]}" --set "Target=2027-01-01 00:00" --set "Warn at=1 min"
  --set "At zero=Count up")
# The New Year recipe a minute and a half out: 00:01:30, still white.
at "2026-12-31 23:58:30" "$render" "${new_year[@]}" --out "$out/guide-countdown-newyear.png"
# Inside the last minute: 00:00:45 in the default warning amber.
at "2026-12-31 23:59:15" "$render" "${new_year[@]}" --out "$out/guide-countdown-warn.png"
# 83.4 s after midnight, counting up: +00:01:23, white again.
at "2027-01-01 00:01:23.4" "$render" "${new_year[@]}" --out "$out/guide-countdown-countup.png"
# Nine days, 18:25:06 before New Year, as hours (234:25:06) and as days
# (9d 18:25:06).
at "2026-12-22 05:34:54" "$render" "${countdown[@]}" --set "Target=2027-01-01 00:00" \
  --out "$out/guide-countdown-hours.png"
at "2026-12-22 05:34:54" "$render" "${countdown[@]}" --set "Target=2027-01-01 00:00" \
  --set "Long times=Days" --out "$out/guide-countdown-days.png"
# A target that names no day (1 January has no 32nd): --:--:--.
at "2026-12-31 23:58:30" "$render" "${countdown[@]}" --set "Target=2027-01-32 00:00" \
  --out "$out/guide-countdown-dashes.png"

# Timer and Stopwatch count on the monotonic clock, which a frozen wall clock
# does not move; the tool's sequences advance both clocks by exactly 1/F per
# frame. after SECONDS START COMMAND_ARGS... OUTPUT: draws two frames SECONDS
# apart from START (UTC), "Run" and the rest set before the first, and keeps
# the second as OUTPUT.
sequence_dir="$(mktemp -d)"
trap 'rm -rf "$sequence_dir"' EXIT
after() {
  local seconds="$1" start="$2" fps
  shift 2
  local output="${*: -1}"
  local args=("${@:1:$#-1}")
  fps="$(awk -v s="$seconds" 'BEGIN { printf "%.17g", 1 / s }')"
  TZ=UTC "$render" "${args[@]}" --start "$start" --frames 2 --fps "$fps" \
    --out-dir "$sequence_dir" --overwrite >/dev/null
  mv "$sequence_dir/frame-00002.png" "$output"
}
# A 20-minute Timer, seven and a half minutes in: 00:12:30, in green.
after 450 "2026-12-08 10:10:00" "${look[@]}" --set Type=Timer --set Duration=20:00 \
  --set Run=on --set Color=0.3333 --set Color_saturation=1 --set Color_brighthnes=1 \
  "$out/guide-timer.png"
# A Stopwatch with hundredths, 42 min 17.3 s after Run went on: 00:42:17:30,
# in cyan.
after 2537.3 "2026-12-08 10:10:00" "${look[@]}" --set Type=Stopwatch --set Run=on \
  --set "Show Millisecs=on" --set Color=0.5 --set Color_saturation=1 \
  --set Color_brighthnes=1 "$out/guide-stopwatch.png"

# The talk timer recipe: 20 minutes, amber from 2 minutes left, overtime
# after; white like the countdown controls above.
talk=("${look[@]}" --set Type=Timer --set Color_saturation=0 --set Color_brighthnes=1
  --set Duration=20:00 --set "Warn at=2 min" --set "At zero=Count up" --set Run=on)
# 18 min 30 s in: 00:01:30 in the warning amber.
after 1110 "2026-12-08 10:10:00" "${talk[@]}" "$out/guide-timer-warn.png"
# 42.4 s over time: +00:00:42, white again.
after 1242.4 "2026-12-08 10:10:00" "${talk[@]}" "$out/guide-timer-overtime.png"

# Start together: a Timer that starts itself at 20:00:00 by the computer's
# clock. 19:59:50 (waiting, Run off): 00:20:00; 20:00:03.25: 00:19:57.
start_at=("${look[@]}" --set Type=Timer --set Color_saturation=0 --set Color_brighthnes=1
  --set Duration=20:00 --set "Start at=2026-12-08 20:00:00")
at "2026-12-08 19:59:50" "$render" "${start_at[@]}" --out "$out/guide-timer-waiting.png"
after 13.25 "2026-12-08 19:59:50" "${start_at[@]}" "$out/guide-timer-started.png"
