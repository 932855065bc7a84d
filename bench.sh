#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; figures go to BENCHMARKS.md by hand.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev libgtest-dev
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEL_TESTS=OFF >/dev/null
cmake --build build-bench -j 2
for b in build-bench/bench/*_benchmark; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
done
