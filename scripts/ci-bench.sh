#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CI leg: a smoke run of the bench (small sizes, few repetitions, no
# thresholds). It proves that every section still runs, the callgrind count
# included, and leaves the figures in build/bench-smoke.json. The real
# figures come from a full run on a quiet machine; see BENCHMARKS.md.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ! -x build/bench/bench ]]; then
  cmake --preset release
  cmake --build --preset release --target bench
fi
build/bench/bench --quick --json build/bench-smoke.json
