#!/usr/bin/env bash
# Installs the built project into a scratch prefix and uses it as a user would, with no
# LD_LIBRARY_PATH: a client built with find_package(zel), a client compiled and linked with
# pkg-config (with a run path to the pkg-config libdir, as a library in a prefix of one's
# own needs), and the installed tool. The prefix is then moved, and the tool and the
# pkg-config paths must still work there.
# usage: run_install_test.sh BUILD_DIR SOURCE_DIR CXX
# Exits 77 (skipped) after the CMake part when pkg-config is not installed.
set -euo pipefail
build_dir=$1
source_dir=$2
cxx=$3
scratch=$build_dir/install-test
prefix=$scratch/prefix
moved=$scratch/moved/prefix
rm -rf "$scratch"
mkdir -p "$scratch/moved"
unset LD_LIBRARY_PATH
sample=$source_dir/examples/netlist/good.net
grammar=$source_dir/examples/netlist/netlist.zelg

fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

# The installed tool starts from the prefix and finds the library there.
"$prefix/bin/zel" check -g "$grammar" "$sample" || fail "the installed tool did not run"

# A CMake client.
cmake -S "$source_dir/tests/install/client" -B "$scratch/cmake-client" \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/cmake-client" >/dev/null
"$scratch/cmake-client/client" || fail "the find_package client failed"

# The installed tree moved elsewhere: the tool still finds its own library.
mv "$prefix" "$moved"
"$moved/bin/zel" check -g "$grammar" "$sample" || fail "the tool did not run after the prefix moved"
if ls "$moved"/lib*/libzel.so* "$moved"/lib*/*/libzel.so* >/dev/null 2>&1; then
  ldd "$moved/bin/zel" | grep -q "libzel.so.* => $moved/" || fail "the tool took a libzel from outside its prefix"
fi

if ! command -v pkg-config >/dev/null; then
  echo "pkg-config is not installed; the pkg-config client is left out"
  exit 77
fi

# A pkg-config client of the moved tree: zel.pc names its directories relative to itself.
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$(find "$moved" -name zel.pc)")
[ -f "$(pkg-config --variable=includedir zel)/zel/zel.h" ] || fail "zel.pc points outside the moved prefix"
libdir=$(pkg-config --variable=libdir zel)
# shellcheck disable=SC2046
"$cxx" -std=c++17 -o "$scratch/pc-client" "$source_dir/tests/install/client/main.cpp" \
  $(pkg-config --cflags --libs zel) -Wl,-rpath,"$libdir"
"$scratch/pc-client" || fail "the pkg-config client failed"
echo "installed package works"
