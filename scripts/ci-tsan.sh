#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CI leg: the threads test under ThreadSanitizer. Two threads making their
# first instances at once crashed the process only now and then; the
# sanitizer reports the races behind it every time.
set -euo pipefail
cd "$(dirname "$0")/.."
export MESA_SHADER_CACHE_DISABLE=true
cmake --preset tsan
cmake --build --preset tsan --target Tickora threads_test
ctest --preset tsan -R 'Threads\.'
