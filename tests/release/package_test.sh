#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/package.sh against a stand-in DLL: the zip is named after the
# build's version and holds the DLL, the guide with every picture it links
# (so a picture the guide names but the repository lacks fails here), the
# guide as one self-contained page, the changelog, the licence and the
# notices, and nothing else; a missing DLL, an odd version and a version
# the changelog does not name are refused.
set -euo pipefail
repo="$1"
work=$(mktemp -d -t tickora-package-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
export TICKORA_WINDOWS_BUILD="$work/build" TICKORA_DIST="$work/dist"
mkdir -p "$TICKORA_WINDOWS_BUILD"
printf 'MZ stand-in\n' >"$TICKORA_WINDOWS_BUILD/Tickora.dll"
fail() { echo "FAIL: $*" >&2; exit 1; }
version=$(sed -n 's/^project(Tickora VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
printf '%s\n' "$version" >"$TICKORA_WINDOWS_BUILD/VERSION"
top="Tickora-$version"

"$repo/scripts/package.sh" >"$work/log" 2>&1 || { cat "$work/log"; fail "package.sh failed"; }
zip="$TICKORA_DIST/$top-win64.zip"
[[ -f "$zip" ]] || fail "no $zip"
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$( {
  printf '%s\n' Tickora.dll LICENSE THIRD-PARTY-NOTICES.md CHANGELOG.md USER-GUIDE.html \
    docs/USER-GUIDE.md
  grep -o '(images/[A-Za-z0-9._-]*\.png)' "$repo/docs/USER-GUIDE.md" | tr -d '()' | sort -u |
    sed 's|^|docs/|'
} | sed "s|^|$top/|" | sort)
[[ "$listed" == "$expected" ]] || fail "zip holds:"$'\n'"$listed"$'\n'"expected:"$'\n'"$expected"
[[ $(grep -c 'images/' <<<"$listed") -ge 3 ]] || fail "fewer than three pictures"
unzip -p "$zip" "$top/Tickora.dll" | cmp -s - "$TICKORA_WINDOWS_BUILD/Tickora.dll" ||
  fail "the DLL in the zip differs"
unzip -p "$zip" "$top/LICENSE" | grep -q 'GNU GENERAL PUBLIC LICENSE' || fail "LICENSE"

unzip -p "$zip" "$top/CHANGELOG.md" | grep -qE "^## ${version//./\\.}( |$)" ||
  fail "CHANGELOG.md has no entry for $version"

# The page: UTF-8, titled, nothing fetched from elsewhere, every picture the
# guide links inlined byte for byte, the guide's headings in order with the
# anchors its own links name, and the same bytes from a second build.
unzip -p "$zip" "$top/USER-GUIDE.html" >"$work/guide.html"
grep -q '<meta charset="utf-8">' "$work/guide.html" || fail "the page names no UTF-8"
grep -q "<title>Tickora user guide $version</title>" "$work/guide.html" || fail "page title"
if grep -Eo 'src="[^"]{0,40}|<link|<script|@import|url\(' "$work/guide.html" | grep -v '^src="data:'; then
  fail "the page loads something from outside itself"
fi
mapfile -t linked < <(grep -o '!\[[^]]*\]([^)]*)' "$repo/docs/USER-GUIDE.md" | sed 's/.*(//; s/)$//')
[[ $(grep -c '<img src="data:image/png;base64,' "$work/guide.html") -eq ${#linked[@]} ]] ||
  fail "the page has not one inlined picture for each of the guide's ${#linked[@]}"
for picture in "${linked[@]}"; do
  grep -qF "base64,$(base64 -w0 "$repo/docs/$picture")\"" "$work/guide.html" ||
    fail "$picture is not inlined"
done
# Headings as "level text", outside fenced code in the Markdown.
diff <(awk '/^```/ { fenced = !fenced } !fenced && match($0, /^#+ /) {
              t = substr($0, RLENGTH + 1); gsub(/[`*]/, "", t); print RLENGTH - 1, t }' \
         "$repo/docs/USER-GUIDE.md") \
     <(sed -n 's/^<h\([1-6]\) id="[^"]*">\(.*\)<\/h[1-6]>$/\1 \2/p' "$work/guide.html" |
         sed 's/<[^>]*>//g; s/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g; s/&amp;/\&/g') >&2 ||
  fail "the page's headings differ from the guide's"
while read -r anchor; do
  grep -q "id=\"$anchor\"" "$work/guide.html" || fail "link to #$anchor, which no heading has"
done < <(grep -o 'href="#[^"]*"' "$work/guide.html" | sed 's/href="#//; s/"$//')
TZ=Pacific/Kiritimati LC_ALL=tr_TR.UTF-8 "$repo/scripts/guide-html.sh" "$repo/docs/USER-GUIDE.md" \
  "$work/again.html" "$version"
cmp -s "$work/guide.html" "$work/again.html" || fail "a second build of the page differs"

# Refusals leave no zip behind.
rm -rf "$TICKORA_DIST"
for odd in 7.8 7.8.9; do  # 7.8.9 is well formed but has no changelog entry
  printf '%s\n' "$odd" >"$TICKORA_WINDOWS_BUILD/VERSION"
  if "$repo/scripts/package.sh" >/dev/null 2>&1; then fail "accepted version $odd"; fi
done
printf '%s\n' "$version" >"$TICKORA_WINDOWS_BUILD/VERSION"
rm "$TICKORA_WINDOWS_BUILD/Tickora.dll"
if "$repo/scripts/package.sh" >/dev/null 2>&1; then fail "packaged without a DLL"; fi
[[ ! -e "$TICKORA_DIST" ]] || [[ -z "$(ls -A "$TICKORA_DIST")" ]] || fail "a refused run left files"
echo "package_test: ok"
