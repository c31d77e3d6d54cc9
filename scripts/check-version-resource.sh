#!/usr/bin/env bash
# Checks that a Windows DLL carries the version resource a VJ sees in
# Explorer (Properties > Details): a resource of type 16 (RT_VERSION) whose
# FileVersion and ProductVersion strings are the build's version, with the
# description and copyright line filled in.
#
#   scripts/check-version-resource.sh [DLL] [VERSION]
#     (defaults: build-windows/Tickora.dll and the contents of
#      build-windows/VERSION)
set -euo pipefail
cd "$(dirname "$0")/.."
dll="${1:-build-windows/Tickora.dll}"
version="${2:-$(tr -d '[:space:]' <build-windows/VERSION)}"
triple=x86_64-w64-mingw32
fail() { echo "FAIL: $*" >&2; exit 1; }

# objdump lists the resource tree as "Type: 16" entries under .rsrc.
"$triple-objdump" -p "$dll" | grep -Eq '^ *Type: 16( |$)' ||
  fail "$dll has no RT_VERSION resource"

# The StringFileInfo values are UTF-16 strings: each name is followed by its
# value. Read them pairwise from the 16-bit little-endian strings.
mapfile -t texts < <("$triple-strings" -el -n 2 "$dll")
value_of() {
  local i
  for ((i = 0; i + 1 < ${#texts[@]}; ++i))
    if [[ "${texts[i]}" == "$1" ]]; then echo "${texts[i + 1]}"; return 0; fi
  return 1
}
for key in FileVersion ProductVersion; do
  got=$(value_of "$key") || fail "$dll: no $key string"
  [[ "$got" == "$version" ]] || fail "$dll: $key is '$got', the build's version is '$version'"
done
for key in FileDescription LegalCopyright ProductName OriginalFilename; do
  got=$(value_of "$key") || fail "$dll: no $key string"
  [[ -n "$got" ]] || fail "$dll: empty $key"
  echo "  $key: $got"
done
echo "version resource: FileVersion and ProductVersion $version"
