#!/usr/bin/env bash
# Runs a Windows program under wine: the cross build's
# CMAKE_CROSSCOMPILING_EMULATOR, and the scripts' way to start teilomat.exe.
#
#   scripts/wine_run.sh PREFIX_ROOT PROGRAM.exe [ARGS...]
#   scripts/wine_run.sh PREFIX_ROOT --create    only create the prefix
#
# Each locale gets a wine prefix of its own, PREFIX_ROOT/<LC_ALL or "C.UTF-8">:
# wine stores the locale in the prefix when it creates it, and a stored locale
# wins over the environment. A missing prefix is created on first use, under a
# lock, so that tests run in parallel do not create it twice.
set -euo pipefail
root=$(realpath -m "$1")
shift
export LC_ALL=${LC_ALL:-C.UTF-8}
export WINEPREFIX=$root/$LC_ALL
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs .NET or HTML, and their installers ask.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=$(command -v wine || command -v wine64)

if [ ! -f "$WINEPREFIX/.teilomat-ready" ]; then
  mkdir -p "$root"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.teilomat-ready" ]; then
      rm -rf "$WINEPREFIX"
      # Without a display wine would open no window anyway; the prefix is the
      # same. wineboot returns before the prefix is written: wait for it.
      env -u DISPLAY "$wine" wineboot --init >/dev/null 2>&1
      env -u DISPLAY wineserver -w
      touch "$WINEPREFIX/.teilomat-ready"
    fi
  ) 9>"$root/.lock-$LC_ALL"
fi

[ "${1:-}" = --create ] && exit 0
exec "$wine" "$@"
