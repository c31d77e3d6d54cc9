#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CI leg for reliability: builds the plugMain fuzzer (clang, libFuzzer,
# AddressSanitizer, UBSan), replays every kept regression input, fuzzes for
# about two minutes from the committed seed corpus, then builds the asan
# preset and runs the reliability tests under it.
#
#   FUZZ_SECONDS=600 scripts/ci-fuzz.sh    # a longer run
#
# New inputs the fuzzer finds go to build-fuzz/corpus, never into the
# repository; a crash leaves its input in build-fuzz/artifacts/ (copy it
# into fuzz/regressions/ once fixed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

FUZZ_SECONDS="${FUZZ_SECONDS:-120}"
JOBS="${JOBS:-2}"
start=$SECONDS

# Line tables are enough for readable reports and keep JUCE's build short.
cmake -S . -B build-fuzz -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
  -DTICKORA_BUILD_FUZZER=ON -DTICKORA_SANITIZE=ON -DTICKORA_BUILD_TESTS=OFF
cmake --build build-fuzz -j"$JOBS" --target tickora_fuzz
echo "=== fuzzer built after $((SECONDS - start)) s" >&2

fuzzer=build-fuzz/fuzz/tickora_fuzz
mkdir -p build-fuzz/corpus build-fuzz/artifacts
export MESA_SHADER_CACHE_DIR="$PWD/build-fuzz/mesa-cache"
options=(-timeout=60 -rss_limit_mb=3072 -artifact_prefix=build-fuzz/artifacts/)

# Every kept input once; a directory given with -runs=0 is replayed, not grown.
echo "=== replaying fuzz/regressions" >&2
"$fuzzer" "${options[@]}" -runs=0 fuzz/regressions

echo "=== fuzzing for ${FUZZ_SECONDS} s" >&2
"$fuzzer" "${options[@]}" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
  build-fuzz/corpus fuzz/corpus
echo "=== fuzzing done after $((SECONDS - start)) s" >&2

# The reliability tests in the sanitizer build: a crash, a memory error, UB
# or a leak at exit fails them.
cmake --preset asan
cmake --build --preset asan -j"$JOBS" --target Tickora hostile_values_test \
  gl_state_hygiene_test instance_churn_test time_zone_test font_families_test
ctest --preset asan -j"$JOBS" \
  -R 'HostileValues|HostileViewports|GLStateHygiene|HygieneHost|InstanceChurn|TimeZone|FontFamilies'
echo "=== ci-fuzz done after $((SECONDS - start)) s" >&2
