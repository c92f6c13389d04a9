#!/usr/bin/env bash
# Installs the built library into a scratch prefix, then builds and runs a client that
# finds it with find_package(zel) and checks the pkg-config file.
set -euo pipefail
build_dir=$1
source_dir=$2
prefix=$build_dir/install-test
rm -rf "$prefix" "$build_dir/install-client"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
cmake -S "$source_dir/tests/install/client" -B "$build_dir/install-client" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$build_dir/install-client" >/dev/null
LD_LIBRARY_PATH="$(dirname "$(find "$prefix" -name libzel.so | head -n 1)")" "$build_dir/install-client/client"
pc_file=$(find "$prefix" -name zel.pc)
if command -v pkg-config >/dev/null; then
  PKG_CONFIG_PATH=$(dirname "$pc_file") pkg-config --libs zel | grep -q -- "-lzel"
else
  grep -q -- "-lzel" "$pc_file"
fi
echo "installed package works"
