#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the release a VJ installs: dist/Tickora-<version>-win64.zip with the
# Windows DLL, the user guide as a page that opens with a double-click
# (USER-GUIDE.html, pictures inside) and as Markdown with its pictures, the
# changelog, the licence and the third-party notices. The version is the
# one the build was configured with (project() in CMakeLists.txt, written to
# build-windows/VERSION), so the archive's name always matches what the DLL
# reports; CHANGELOG.md must have an entry ("## <version>") for it, so a
# release never ships without saying what changed.
#
#   scripts/package.sh          (after scripts/ci-windows.sh or
#                                cmake --build --preset windows)
#
# TICKORA_WINDOWS_BUILD (default build-windows) and TICKORA_DIST (default
# dist) name other folders, relative to the repository or absolute.
set -euo pipefail
cd "$(dirname "$0")/.."

windows_build="${TICKORA_WINDOWS_BUILD:-build-windows}"
dist="${TICKORA_DIST:-dist}"
dll="$windows_build/Tickora.dll"
version_file="$windows_build/VERSION"
guide=docs/USER-GUIDE.md
changelog=CHANGELOG.md
fail() { echo "package: $*" >&2; exit 1; }

[[ -f "$dll" ]] || fail "no $dll; build it first (scripts/ci-windows.sh)"
[[ -f "$version_file" ]] || fail "no $version_file; configure with cmake --preset windows"
command -v zip >/dev/null || fail "no zip; run scripts/install-deps.sh"
version=$(tr -d '[:space:]' <"$version_file")
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "odd version '$version' in $version_file"
grep -qE "^## ${version//./\\.}( |$)" "$changelog" || fail "$changelog has no '## $version' entry"

# The guide's pictures: every images/... it links to, and nothing else.
mapfile -t pictures < <(grep -o '(images/[A-Za-z0-9._-]*\.png)' "$guide" | tr -d '()' | sort -u)
[[ ${#pictures[@]} -gt 0 ]] || fail "$guide links no pictures"

name="Tickora-$version"
stage=$(mktemp -d -t tickora-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name/docs/images"
cp "$dll" LICENSE THIRD-PARTY-NOTICES.md "$changelog" "$stage/$name/"
cp "$guide" "$stage/$name/docs/"
scripts/guide-html.sh "$guide" "$stage/$name/USER-GUIDE.html" "$version"
for picture in "${pictures[@]}"; do
  [[ -f "docs/$picture" ]] || fail "$guide links docs/$picture, which does not exist"
  cp "docs/$picture" "$stage/$name/docs/$picture"
done

mkdir -p "$dist"
zip_path="$(cd "$dist" && pwd)/$name-win64.zip"
rm -f "$zip_path"
# -X: no extra Unix attributes, so the archive depends on the files alone.
(cd "$stage" && zip -q -X -r "$zip_path" "$name")
unzip -l "$zip_path"
echo "package: $zip_path ($(stat -c %s "$zip_path") bytes)" >&2
