#!/usr/bin/env bash
# Takes docs/screenshot-web.png: the page (build/web/teilomat.html) in
# headless Chromium with German as the preferred language, at 100 % in the
# light colour scheme. Other views, for looking at the page:
#
#   scripts/web_screenshot.sh [light|dark|zoom|phone] [FILE]
#
# "zoom" is the page at 200 %, "phone" a touch screen 393 pixels wide.
set -euo pipefail
cd "$(dirname "$0")/.."

view=${1:-light}
file=${2:-docs/screenshot-web.png}
./build.sh web-setup
[ -f build/web/CMakeCache.txt ] || cmake --preset web
cmake --build --preset web --target teilomat_page

/usr/bin/python3 - "$view" "$file" <<'PYTHON'
import pathlib, sys
sys.path.insert(0, 'scripts')
import headless_chromium

view, file = sys.argv[1:]
width, height, scale = {'zoom': (640, 440, 2), 'phone': (393, 852, 1)}.get(view, (420, 440, 1))
browser = headless_chromium.start('de-DE')
try:
    headless_chromium.viewport(browser, width, height, scale, dark=view == 'dark')
    if view == 'phone':  # a mobile device with touch: (pointer: coarse)
        browser.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
            'width': width, 'height': height, 'deviceScaleFactor': scale, 'mobile': True})
        browser.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': True})
    browser.get(pathlib.Path('build/web/teilomat.html').resolve().as_uri())
    headless_chromium.wait_for_page(browser)
    browser.save_screenshot(file)
finally:
    browser.quit()
print(file)
PYTHON
