#!/usr/bin/env bash
# Builds and runs the benchmarks (not part of the tests). Arguments go to Google Benchmark,
# for example: scripts/run-benchmarks.sh --benchmark_filter=Grid --benchmark_repetitions=5
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/default/bench/kelno_bench "$@"
