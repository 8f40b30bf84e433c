#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop user gets:
# both programs, the desktop entry, the icons, the manual pages, the copyright
# and the AppStream metadata, that teilomat-cli runs, and with the page its Kanalliste entry.
#   tests/install_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

. "$(dirname "$0")/checks.sh"

# Width and height of a PNG file, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }

page=$prefix/share/teilomat
[ -e "$page/teilomat.html" ] && list=teilomat-kanalliste || list=
for program in teilomat teilomat-cli $list; do
  check "bin/$program is an executable" test -x "$prefix/bin/$program"
  check "manual page of $program" test -s "$prefix/share/man/man1/$program.1.gz"
  if command -v groff >/dev/null; then
    check "manual page of $program formats without warnings" \
      bash -c "zcat '$prefix/share/man/man1/$program.1.gz' | groff -man -ww -z -Tutf8 2>&1 | { ! grep .; }"
  fi
done

desktop=$prefix/share/applications/io.github.teilomat.Teilomat.desktop
check "desktop entry is installed" test -s "$desktop"
check "desktop entry passes desktop-file-validate" desktop-file-validate "$desktop"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
check "desktop entry starts the installed program" test -x "$prefix/bin/$exec_name"
if [ -n "$list" ]; then  # "Teilomat Kanalliste", its launcher with an xdg-open that notes what it opens
  check "Teilomat Kanalliste passes desktop-file-validate" desktop-file-validate "${desktop%.desktop}.Kanalliste.desktop"
  check "and starts teilomat-kanalliste" grep -qx Exec=teilomat-kanalliste "${desktop%.desktop}.Kanalliste.desktop"
  printf '#!/bin/sh\nprintf %%s "$1" >"$0.opened"\n' >"$prefix/xdg-open" && chmod +x "$prefix/xdg-open"
  PATH=$prefix:$PATH "$prefix/bin/teilomat-kanalliste" || true
  check "which opens the installed kanalliste.html" test "$(cat "$prefix/xdg-open.opened")" = "$(readlink -f "$page/kanalliste.html")"
fi
for size in 16 32 48 64 128; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon_name.png
  check "icon ${size}x${size} is installed" test -s "$icon"
  check "icon ${size}x${size} has its size" test "$(png_size "$icon")" = "${size}x${size}"
done

check "copyright file carries CLI11's licence" \
  grep -q '^License: BSD-3-clause' "$prefix/share/doc/teilomat/copyright"
if command -v appstreamcli >/dev/null; then
  check "AppStream metadata is valid and names the installed desktop entry" \
    appstreamcli validate-tree --no-net "$prefix"
fi

out=$("$prefix/bin/teilomat-cli" calc 145,675 --format csv)
check "installed teilomat-cli computes the default channel" \
  grep -q '^145.675,6255,156375,145.675,0,223,48,160,' <<<"$out"

report_checks
