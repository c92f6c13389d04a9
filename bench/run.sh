#!/usr/bin/env bash
# Builds the benchmarks in a release build, generates drawing files of 1, 20 and 100 MB
# (or the sizes in SIZES) and prints the benchmark table for each. sfsexp, the library
# compared against, is installed from Debian's packages when it is missing and this runs
# as root; otherwise its rows are left out.
# usage: bench/run.sh [RUNS]      environment: SIZES="1 20 100"
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
if ! pkg-config --exists sfsexp 2>/dev/null; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    apt-get install -y -q libsexp-dev >/dev/null 2>&1 || echo "sfsexp could not be installed; its rows are left out"
  else
    echo "sfsexp is not installed (Debian package libsexp-dev); its rows are left out"
  fi
fi
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DZEL_BUILD_BENCH=ON -DZEL_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j2 --target zel_bench zel_bench_generate >/dev/null
for size in ${SIZES:-1 20 100}; do
  file=build-bench/drawing-${size}MB.draw
  [ -f "$file" ] || build-bench/bench/zel_bench_generate "$size" "$file"
  build-bench/bench/zel_bench examples/drawing/drawing.zelg "$file" "$runs"
  echo
done
