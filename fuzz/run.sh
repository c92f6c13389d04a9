#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for the given number of seconds
# (default 30), starting from the seed corpus in fuzz/corpus/<target>. New inputs go to
# build-fuzz/corpus/<target>; crashes are written to build-fuzz/crashes/.
# usage: fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(parse edit roundtrip grammar tables documents)
CXX=clang++ cmake -S . -B build-fuzz -DZEL_FUZZ=ON -DZEL_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j2 --target $(printf 'zel_fuzz_%s ' "${targets[@]}") >/dev/null
mkdir -p build-fuzz/crashes
for target in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$target"
  echo "== zel_fuzz_$target for ${seconds}s"
  build-fuzz/fuzz/zel_fuzz_$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -dict=fuzz/zel.dict -artifact_prefix=build-fuzz/crashes/$target- \
    "build-fuzz/corpus/$target" "fuzz/corpus/$target" 2>&1 | grep -E '^(#[0-9]+ +DONE|==[0-9]+==ERROR|SUMMARY|Done)' || true
  if ls build-fuzz/crashes/$target-* >/dev/null 2>&1; then
    echo "zel_fuzz_$target found a failure:"; ls build-fuzz/crashes/$target-*
    exit 1
  fi
done
