#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source and build file names the project's licence in its first two
# lines (after a #! line), so a file copied out of the tree still says what
# it may be used under.
set -euo pipefail
root="${1:?usage: licence_headers_test.sh SOURCE_DIR}"
cd "$root"
tag="SPDX-License-Identifier: GPL-3.0-or-later"
missing=0
files() {
  find ffgl ffglex framework tickora host tools tests bench fuzz windows cmake scripts .ci \
    -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.in' -o -name '*.cmake' \
    -o -name '*.sh' -o -name CMakeLists.txt -o -name run \) -print0
  printf '%s\0' CMakeLists.txt
}
while IFS= read -r -d '' file; do
  if ! head -n 2 "$file" | grep -qF "$tag"; then
    echo "no licence line: $file" >&2
    missing=$((missing + 1))
  fi
done < <(files)
if [[ $missing -ne 0 ]]; then
  echo "$missing file(s) without the licence line" >&2
  exit 1
fi
