#!/usr/bin/env bash
# Counts the instructions of the parse per input byte with callgrind, which counts the same
# on every run however busy the machine is: the zel tool checks the 1 MB drawing file with
# each engine, and only CZelParser::Parse and what it calls are counted. valgrind is
# installed from Debian's packages when it is missing and this runs as root.
# usage: bench/instructions.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v valgrind >/dev/null; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    apt-get install -y -q valgrind >/dev/null 2>&1 || { echo "valgrind could not be installed"; exit 1; }
  else
    echo "valgrind is not installed (Debian package valgrind)"; exit 1
  fi
fi
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DZEL_BUILD_BENCH=ON -DZEL_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j2 --target zel_tool zel_bench_generate >/dev/null
file=${1:-build-bench/drawing-1MB.draw}
[ -f "$file" ] || build-bench/bench/zel_bench_generate 1 "$file"
bytes=$(stat -c %s "$file")
for engine in recursive iterative; do
  count=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null \
            --toggle-collect='CZelParser::Parse(char const*, char const*, long, int)' \
            build-bench/bin/zel check --engine "$engine" -g examples/drawing/drawing.zelg "$file" 2>&1 |
          sed -n 's/.*Collected : \([0-9]*\).*/\1/p')
  awk -v e="$engine" -v c="$count" -v b="$bytes" 'BEGIN { printf "%-9s engine: %d instructions, %.1f per input byte\n", e, c, c / b }'
done
