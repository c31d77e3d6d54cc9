#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/package.sh against a stand-in DLL: the zip is named after the
# build's version and holds the DLL, the guide with every picture it links
# (so a picture the guide names but the repository lacks fails here), the
# licence and the notices, and nothing else; a missing DLL and an odd
# version are refused.
set -euo pipefail
repo="$1"
work=$(mktemp -d -t tickora-package-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
export TICKORA_WINDOWS_BUILD="$work/build" TICKORA_DIST="$work/dist"
mkdir -p "$TICKORA_WINDOWS_BUILD"
printf 'MZ stand-in\n' >"$TICKORA_WINDOWS_BUILD/Tickora.dll"
printf '7.8.9\n' >"$TICKORA_WINDOWS_BUILD/VERSION"
fail() { echo "FAIL: $*" >&2; exit 1; }

"$repo/scripts/package.sh" >"$work/log" 2>&1 || { cat "$work/log"; fail "package.sh failed"; }
zip="$TICKORA_DIST/Tickora-7.8.9-win64.zip"
[[ -f "$zip" ]] || fail "no $zip"
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$( {
  printf '%s\n' Tickora.dll LICENSE THIRD-PARTY-NOTICES.md docs/USER-GUIDE.md
  grep -o '(images/[A-Za-z0-9._-]*\.png)' "$repo/docs/USER-GUIDE.md" | tr -d '()' | sort -u |
    sed 's|^|docs/|'
} | sed 's|^|Tickora-7.8.9/|' | sort)
[[ "$listed" == "$expected" ]] || fail "zip holds:"$'\n'"$listed"$'\n'"expected:"$'\n'"$expected"
[[ $(grep -c 'images/' <<<"$listed") -ge 3 ]] || fail "fewer than three pictures"
unzip -p "$zip" Tickora-7.8.9/Tickora.dll | cmp -s - "$TICKORA_WINDOWS_BUILD/Tickora.dll" ||
  fail "the DLL in the zip differs"
unzip -p "$zip" Tickora-7.8.9/LICENSE | grep -q 'GNU GENERAL PUBLIC LICENSE' || fail "LICENSE"

# Refusals leave no zip behind.
rm -rf "$TICKORA_DIST"
printf '7.8\n' >"$TICKORA_WINDOWS_BUILD/VERSION"
if "$repo/scripts/package.sh" >/dev/null 2>&1; then fail "accepted version 7.8"; fi
printf '7.8.9\n' >"$TICKORA_WINDOWS_BUILD/VERSION"
rm "$TICKORA_WINDOWS_BUILD/Tickora.dll"
if "$repo/scripts/package.sh" >/dev/null 2>&1; then fail "packaged without a DLL"; fi
[[ ! -e "$TICKORA_DIST" ]] || [[ -z "$(ls -A "$TICKORA_DIST")" ]] || fail "a refused run left files"
echo "package_test: ok"
