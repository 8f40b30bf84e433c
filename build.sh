#!/usr/bin/env bash
# Sets up a Debian machine for Teilomat, builds it and runs it or its tests.
#
#   ./build.sh run     set up, build (release) and start the window
#   ./build.sh test    set up, build (dev) and run the whole test suite
#   ./build.sh asan    the test suite under AddressSanitizer and UBSan
#   ./build.sh fuzz [SECONDS]   build the fuzz targets with clang and run each
#   ./build.sh package  build the Debian package (release), list it,
#                       check it with lintian and appstreamcli and try
#                       what it installs (tests/install_test.sh)
#   ./build.sh format   check that the C++ sources are clang-formatted
#   ./build.sh windows  cross-build teilomat.exe and teilomat-cli.exe with
#                       mingw-w64 and run their tests under wine (Xvfb)
#   ./build.sh windows-package  cross-build the Windows programs and pack
#                       them: a portable zip and an NSIS installer
#   ./build.sh web     build the page (teilomat.html) with Emscripten, run the
#                       core's and the channels library's suites under node
#                       and the page's in Chromium, Firefox and WebKit
#   ./build.sh setup   only install what is missing
#   ./build.sh windows-setup  only install what the Windows build needs
#   ./build.sh web-setup  only install what the page needs
#
# Missing Debian packages are installed with apt-get when run as root;
# otherwise the exact apt-get line is printed and nothing else happens.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/ensure_packages.sh

# What building, testing and running needs on a Debian 12 machine: Qt 6
# Widgets (which brings the OpenGL headers its CMake files ask for), the
# Liberation fonts, which stand in for "MS Sans Serif" at about its width,
# CLI11 for teilomat-cli, a C compiler and Python for its tests, binutils'
# objcopy and srecord's srec_cat that read its EEPROM images back, the AVR
# compiler and C library that build its C header for an ATmega328P, hyperfine
# and GNU time for the timing scripts in bench/, and the desktop-entry,
# manual-page and AppStream checkers for the install test. The Arduino sketch
# is built by arduino-builder with Debian's AVR core (its Wire and EEPROM
# libraries) and the ctags it finds the sketch's functions with, and run on
# simavr's simulated ATmega328P (libsimavr-dev).
packages=(g++ gcc cmake ninja-build pkg-config libgtest-dev libbenchmark-dev qt6-base-dev
  fonts-liberation2 libcli11-dev python3 binutils srecord gcc-avr avr-libc binutils-avr
  hyperfine time desktop-file-utils groff-base appstream
  arduino-builder arduino-core-avr arduino-ctags libsimavr-dev)

# The Windows build: the mingw-w64 cross compiler (posix threads) with its
# resource compiler, GoogleTest's sources and CLI11's headers for it, wine
# with a virtual X display to run the tests, and the glibc locales the window
# tests run under.
windows_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest libcli11-dev wine wine64 xvfb openbox x11-utils locales)
windows_locales=(de_DE.UTF-8 en_US.UTF-8)

# The page: Debian's Emscripten (with node), fast_float for reading numbers
# there and GoogleTest's sources, to build it and run the core's suites under
# node; for the page's tests the three engines, Chromium, Firefox ESR and
# WebKitGTK (its WebDriver with MiniBrowser, on a virtual X display, in the
# glibc locales the tests run under), and the Liberation fonts; Chromium's
# WebDriver and Selenium for Debian's python3, which the screenshot and
# timing scripts use. The packages carry the page, so they need what builds
# it.
page_packages=(cmake ninja-build emscripten libfast-float-dev googletest)
web_packages=("${page_packages[@]}" chromium firefox-esr webkit2gtk-driver xvfb locales
  fonts-liberation2 chromium-driver python3-selenium)
web_locales=(de_DE.UTF-8 en_US.UTF-8)

# Generates the glibc locales named where they are missing (needs root).
ensure_locales() {
  local locale
  for locale in "$@"; do
    locale -a | grep -qix "${locale/UTF-8/utf8}" && continue
    if [ "$(id -u)" -ne 0 ]; then
      echo "Missing locale $locale. Generate it with:" >&2
      echo "  sudo localedef -i ${locale%%.*} -f UTF-8 $locale" >&2
      exit 1
    fi
    localedef -i "${locale%%.*}" -f UTF-8 "$locale"
  done
}

# The page tests' drivers: puppeteer-core from npm, exactly as
# scripts/web/package-lock.json pins it, without a browser of its own (the
# tests use Debian's). Installed again when the lock file changes.
ensure_web_drivers() {
  local dir=scripts/web
  command -v npm >/dev/null || ensure_packages npm
  if [ ! -f $dir/node_modules/.package-lock.json ] ||
    [ $dir/package-lock.json -nt $dir/node_modules/.package-lock.json ]; then
    (cd $dir && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
  fi
}

# Everything the page and its tests need.
ensure_web() {
  ensure_packages "${web_packages[@]}"
  ensure_locales "${web_locales[@]}"
  ensure_web_drivers
}

# Configures (once) and builds one preset: all of it, or only the targets
# named after it. Ninja shows its progress as [done/all].
build() {
  local preset=$1
  shift
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset"
  cmake --build --preset "$preset" ${1:+--target "$@"}
}

# The tree the Debian package is built in, with Debian's hardening flags;
# $1 ON or OFF: with the tests and benchmarks. Made once: a tree made with
# them keeps them.
package_tree() {
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  [ -f build/package/CMakeCache.txt ] && return
  cmake --preset release -B build/package -DTEILOMAT_TESTS="$1" -DTEILOMAT_BENCH="$1" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
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
    preset=dev
    build "$preset"
    ctest --preset "$preset"
    # The Arduino sketch of the firmware test's list: flash and RAM on an Uno.
    cat "build/$preset/tests/firmware/work/sizes.txt"
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
    # The channel-list reader: seeds of a CHIRP export and a plain list.
    lists=build/fuzz/corpus-lists
    mkdir -p "$lists"
    printf '\357\273\277Location,Name,Frequency,Duplex,Offset\r\n1,"A, ""B""",145.600000,-,0.600000\r\n2,C,145.5,split,433.5\r\n' >"$lists/chirp"
    printf 'name,rx_mhz,tx_mhz\nA,145.6,\nB,145.5,145.5\n' >"$lists/plain"
    build/fuzz/fuzz/channel_list_fuzz -max_total_time="${2:-60}" -timeout=5 -print_final_stats=1 "$lists"
    ;;
  format)
    ensure_packages clang-format git
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
    echo "clang-format: clean"
    ;;
  release)
    # The optimised build, in the package's tree with the tests and
    # benchmarks too, compiled from clean so that every file is heard: GCC at
    # -O3 sees more than the debug build does, and any warning fails it.
    # ./build.sh package then packs from this tree.
    ensure_packages "${packages[@]}" dpkg-dev
    package_tree ON
    cmake --build build/package --clean-first -j2 2>&1 | tee build/release-build.log
    if grep -q 'warning:' build/release-build.log; then
      echo "The release build has compiler warnings (see above)." >&2
      exit 1
    fi
    echo "Release build: no compiler warnings"
    ;;
  package)
    # The Debian package, built with Debian's hardening flags in a tree of
    # its own (without tests or benchmarks, unless ./build.sh release made
    # it), with the page built first, then checked by lintian and appstreamcli.
    ensure_packages "${packages[@]}" "${page_packages[@]}" dpkg-dev file lintian
    build web teilomat_page
    package_tree OFF
    cmake build/package -DTEILOMAT_PAGE="$PWD/build/web/teilomat.html" >/dev/null
    cmake --build build/package -j2
    rm -f build/package/teilomat_*.deb
    (cd build/package && cpack -G DEB)
    deb=$(ls build/package/teilomat_*.deb)
    dpkg-deb --info "$deb"
    dpkg-deb --contents "$deb"
    # The metadata on its own, then with the desktop entry it names.
    tree=build/package/unpacked
    rm -rf "$tree"
    dpkg-deb -x "$deb" "$tree"
    appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml
    appstreamcli validate-tree --no-net "$tree"
    lintian --fail-on error,warning --info "$deb"
    # What the package installs, the page and its "Teilomat Kanalliste" among it.
    tests/install_test.sh build/package
    ;;
  windows-package)
    # The Windows packages: the programs cross-built with mingw-w64 (release,
    # no tests) in a tree of their own, and the page beside them, packed by
    # CPack as a zip and, with Debian's NSIS, as an installer.
    ensure_packages "${windows_packages[@]}" "${page_packages[@]}" nsis unzip
    build web teilomat_page
    # The programs ./build.sh windows built and tested, where it has run;
    # otherwise a tree of its own.
    dir=build/windows-package
    if [ -f build/windows/CMakeCache.txt ]; then
      dir=build/windows
      cmake "$dir" -DTEILOMAT_PAGE="$PWD/build/web/teilomat.html" >/dev/null
    else
      cmake --preset windows -B "$dir" -DTEILOMAT_TESTS=OFF -DTEILOMAT_BENCH=OFF \
        -DTEILOMAT_PAGE="$PWD/build/web/teilomat.html" >/dev/null
    fi
    cmake --build "$dir" -j2
    rm -f "$dir"/Teilomat-*-win64*
    (cd "$dir" && cpack)
    unzip -l "$dir"/Teilomat-*-win64.zip
    ls -l "$dir"/Teilomat-*-win64*
    ;;
  web)
    ensure_web
    # The page's channel-list rows compare its files with teilomat-cli's.
    ensure_packages "${packages[@]}"
    build dev teilomat-cli
    build web
    # The browsers are installed now: a page test that finds none fails here.
    # Two at a time: a browser test mostly waits for its browser. A browser
    # run that fails is run once more: now and then Firefox's driver loses a
    # look-up in a tab that has just ended; a real fault fails both times.
    TEILOMAT_BROWSER_REQUIRED=1 ctest --preset web -j 2 --repeat until-pass:2
    ls -l build/web/teilomat.html
    ;;
  web-setup)
    ensure_web
    ;;
  windows-setup)
    ensure_packages "${windows_packages[@]}"
    ensure_locales "${windows_locales[@]}"
    ;;
  windows)
    ensure_packages "${windows_packages[@]}"
    ensure_locales "${windows_locales[@]}"
    . scripts/virtual_display.sh
    # Wine prefixes (one per locale, kept in build/windows/wine) are slow to
    # create: they are made once, while the build runs.
    prefixes=()
    for locale in C.UTF-8 "${windows_locales[@]}"; do
      LC_ALL=$locale scripts/wine_run.sh "$PWD/build/windows/wine" --create &
      prefixes+=($!)
    done
    build windows
    for pid in "${prefixes[@]}"; do wait "$pid"; done
    start_virtual_display
    status=0
    ctest --preset windows -j 2 || status=$?
    # Ends wine's processes before the display goes away.
    for locale in C.UTF-8 "${windows_locales[@]}"; do
      WINEPREFIX=$PWD/build/windows/wine/$locale wineserver -k 2>/dev/null || true
    done
    exit $status
    ;;
  *)
    echo "usage: ./build.sh run|test|asan|fuzz [SECONDS]|release|package|format|windows|windows-package|web|setup|windows-setup|web-setup" >&2
    exit 2
    ;;
esac
