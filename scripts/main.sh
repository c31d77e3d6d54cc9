#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets everything up, builds the release preset into build/ and shows the
# clock through the headless host: the plug-in's parameters, then one
# picture of each display type at the current time, in out/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
./build/tickora-render --list
mkdir -p out
# Every display type the plug-in lists for "Type".
mapfile -t types < <(./build/tickora-render --list | awk '$2 == "Type" { sub(/.*yes +/, ""); gsub(/, /, "\n"); print }')
files=()
for type in "${types[@]}"; do
  file="out/$(echo "$type" | tr '[:upper:]' '[:lower:]').png"
  files+=("$file")
  # Countdown to 23:59 nine days ahead, so that it has time left to show.
  extra=()
  if [[ $type == Countdown ]]; then extra=(--set Date=9 --set Hour=23 --set Minute=59); fi
  ./build/tickora-render --size 960x540 --background checker --set "Type=$type" "${extra[@]}" \
    --out "$file" >/dev/null
done
echo
echo "Pictures of the ${#files[@]} display types, drawn by build/tickora-render:"
for f in "${files[@]}"; do echo "  $PWD/$f"; done
echo "More: build/tickora-render --help (e.g. --window for a live preview)."
