#!/usr/bin/env bash
# Sets everything up, builds the release preset into build/ and shows the
# plug-in through the headless host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release
./build/tickora-info
