#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CI leg: the host-state tests under AddressSanitizer and UBSan. A host's
# unpack state once made the atlas upload read past the glyph image, which
# only the sanitizer sees when the driver does not crash; other contexts
# and refused uploads run here too.
set -euo pipefail
cd "$(dirname "$0")/.."
export MESA_SHADER_CACHE_DISABLE=true
cmake --preset asan
cmake --build --preset asan --target Tickora hostile_state_test two_context_test clock_atlas_upload_test
ctest --preset asan -j2 -R 'HostState/.*(Unpack|Everything)|TwoContexts|AtlasUpload'
