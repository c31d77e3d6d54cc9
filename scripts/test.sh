#!/usr/bin/env bash
# Sets everything up, builds the release preset into build/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
ctest --preset release -j2
