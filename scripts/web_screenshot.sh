#!/usr/bin/env bash
# Takes docs/screenshot-web.png: the page (build/web/teilomat.html) in
# headless Chromium with German as the preferred language, at 100 % in the
# light colour scheme. Other views and engines, for looking at the page:
#
#   scripts/web_screenshot.sh [light|dark|zoom|phone|phone-dark] [FILE] [chromium|firefox|webkit]
#
# "zoom" is the page at 200 %, "phone" a touch screen 393 pixels wide (in
# Chromium), "phone-dark" the same in the dark scheme. Not every engine's driver can show every view (see
# scripts/web/engines.mjs).
set -euo pipefail
cd "$(dirname "$0")/.."

view=${1:-light}
file=${2:-docs/screenshot-web.png}
engine=${3:-chromium}
./build.sh web-setup
[ -f build/web/CMakeCache.txt ] || cmake --preset web
cmake --build --preset web --target teilomat_page

node scripts/web/screenshot.mjs build/web/teilomat.html "$file" "$engine" "$view"
