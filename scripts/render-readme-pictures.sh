#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the README's pictures of the three display types with
# tickora-render under a frozen wall clock (libfaketime), so that anyone can
# regenerate the same pictures: 10:09:59.5 UTC on 8 December 2026, Liberation
# Sans, 960x540 on a dark background.
#
#   scripts/render-readme-pictures.sh [OUTPUT_FOLDER]   (default docs/images)
#
# Needs a build (scripts/main.sh or cmake --build --preset release);
# TICKORA_RENDER points at another tickora-render binary, TICKORA_FAKETIME at
# another libfaketime.
set -euo pipefail
cd "$(dirname "$0")/.."
render="${TICKORA_RENDER:-build/tickora-render}"
out="${1:-docs/images}"
# The libfaketime the build found (the tests preload the same one).
faketime_lib="${TICKORA_FAKETIME:-$(sed -n 's/^TICKORA_FAKETIME_LIBRARY:FILEPATH=//p' \
  build/CMakeCache.txt 2>/dev/null)}"

if [[ ! -x "$render" ]]; then
  echo "render-readme-pictures: no $render; build first (scripts/main.sh)" >&2
  exit 1
fi
if [[ -z "$faketime_lib" || ! -e "$faketime_lib" ]]; then
  echo "render-readme-pictures: no libfaketime found by the build; run scripts/install-deps.sh" \
    "and configure again (or set TICKORA_FAKETIME)" >&2
  exit 1
fi
mkdir -p "$out"

# Monotonic clocks stay real: Mesa's llvmpipe threads wait on them.
frozen() {
  LD_PRELOAD="$faketime_lib" FAKETIME="2026-12-08 10:09:59.5" FAKETIME_DONT_FAKE_MONOTONIC=1 \
    TZ=UTC "$@"
}
look=(--size 960x540 --background "#1d2126" --set "Font=Liberation Sans")

frozen "$render" "${look[@]}" --set Type=Digital --out "$out/digital.png"
frozen "$render" "${look[@]}" --set Type=Classic --out "$out/classic.png"
# Until 18:30 the next day ("Date" element 1 is the day after the frozen one).
frozen "$render" "${look[@]}" --set Type=Countdown --set Date=1 --set Hour=18 --set Minute=30 \
  --out "$out/countdown.png"
