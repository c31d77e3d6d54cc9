#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that a Windows DLL carries the version resource a VJ sees in
# Explorer (Properties > Details): the mingw resource compiler reads the
# DLL's resources back as resource script, which must hold a VERSIONINFO
# whose numeric and text file and product versions are the build's, with a
# description and a copyright line.
#
#   scripts/check-version-resource.sh [DLL] [VERSION]
#     (defaults: build-windows/Tickora.dll and the contents of
#      build-windows/VERSION)
set -euo pipefail
cd "$(dirname "$0")/.."
dll="${1:-build-windows/Tickora.dll}"
version="${2:-$(tr -d '[:space:]' <build-windows/VERSION)}"
fail() { echo "FAIL: $*" >&2; exit 1; }

[[ "$version" =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]] || fail "odd version '$version'"
numeric="${BASH_REMATCH[1]}, ${BASH_REMATCH[2]}, ${BASH_REMATCH[3]}, 0"
script=$(x86_64-w64-mingw32-windres -i "$dll" -O rc) || fail "cannot read the resources of $dll"
grep -q 'VERSIONINFO' <<<"$script" || fail "$dll has no version resource"

for key in FILEVERSION PRODUCTVERSION; do
  got=$(sed -n "s/^ *$key *//p" <<<"$script")
  [[ "$got" == "$numeric" ]] || fail "$dll: $key is '$got', expected '$numeric'"
done
# VALUE "Name", "text"
value_of() { sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"\$/\1/p" <<<"$script"; }
for key in FileVersion ProductVersion; do
  got=$(value_of "$key")
  [[ "$got" == "$version" ]] || fail "$dll: $key is '$got', the build's version is '$version'"
done
for key in FileDescription LegalCopyright ProductName OriginalFilename; do
  got=$(value_of "$key")
  [[ -n "$got" ]] || fail "$dll: no $key"
  echo "  $key: $got"
done
echo "version resource: $numeric, FileVersion and ProductVersion $version"
