#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets everything up, builds the release preset into build/ and runs every test.
# TICKORA_WERROR=ON (as CI sets it) makes any compiler warning fail the build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release -DTICKORA_WERROR="${TICKORA_WERROR:-OFF}"
cmake --build --preset release
ctest --preset release -j2
