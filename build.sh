#!/usr/bin/env bash
# Sets up a Debian machine for Teilomat, builds it and runs it or its tests.
#
#   ./build.sh run     set up, build (release) and start the window
#   ./build.sh test    set up, build (dev) and run the whole test suite
#   ./build.sh asan    the test suite under AddressSanitizer and UBSan
#   ./build.sh fuzz [SECONDS]   build the fuzz target with clang and run it
#   ./build.sh package  build the Debian package (release) and list it
#   ./build.sh format   check that the C++ sources are clang-formatted
#   ./build.sh setup   only install what is missing
#
# Missing Debian packages are installed with apt-get when run as root;
# otherwise the exact apt-get line is printed and nothing else happens.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/ensure_packages.sh

# What building, testing and running needs on a Debian 12 machine: Qt 6
# Widgets (which brings the OpenGL headers its CMake files ask for), the
# Liberation fonts, which stand in for "MS Sans Serif" at about its width,
# CLI11 for teilomat-cli, a C compiler and Python for its tests, and the
# desktop-entry and manual-page checkers for the install test.
packages=(g++ gcc cmake ninja-build pkg-config libgtest-dev libbenchmark-dev qt6-base-dev
  fonts-liberation2 libcli11-dev python3 desktop-file-utils groff-base)


# Configures (once) and builds one preset: all of it, or only the targets
# named after it. Ninja shows its progress as [done/all].
build() {
  local preset=$1
  shift
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset"
  cmake --build --preset "$preset" ${1:+--target "$@"}
}

command=${1:-}
case "$command" in
  setup)
    ensure_packages "${packages[@]}"
    ;;
  run)
    ensure_packages "${packages[@]}"
    # Only the window: the tests and benchmarks wait for ./build.sh test.
    echo "Building the window (the first time takes about a minute)..."
    build release teilomat
    shift
    exec build/release/window/qt/teilomat "$@"
    ;;
  test)
    ensure_packages "${packages[@]}"
    build dev
    ctest --preset dev
    ;;
  asan)
    ensure_packages "${packages[@]}"
    build asan
    ctest --preset asan
    ;;
  fuzz)
    ensure_packages "${packages[@]}" clang libclang-rt-14-dev
    build fuzz
    corpus=build/fuzz/corpus
    mkdir -p "$corpus"
    # Seeds: RX, ZF, decimal separator and grouping character, split by NUL.
    printf '145,675\00010,7\000,\000.' >"$corpus/german"
    printf '131.071\0000\000.\000,' >"$corpus/limit"
    printf '1\342\200\2314.5\000-2E3\000.\000\342\200\231' >"$corpus/swiss"
    build/fuzz/fuzz/tuning_fuzz -max_total_time="${2:-60}" -timeout=5 -print_final_stats=1 "$corpus"
    ;;
  format)
    ensure_packages clang-format git
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
    echo "clang-format: clean"
    ;;
  package)
    ensure_packages "${packages[@]}" dpkg-dev file
    build release
    (cd build/release && cpack -G DEB)
    deb=$(ls build/release/teilomat_*.deb)
    dpkg-deb --info "$deb"
    dpkg-deb --contents "$deb"
    ;;
  *)
    echo "usage: ./build.sh run|test|asan|fuzz [SECONDS]|package|format|setup" >&2
    exit 2
    ;;
esac
