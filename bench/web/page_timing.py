"""Timings of the page in headless Chromium, read from the browser's own
clock (milliseconds since the navigation began).

    page_timing.py startup PAGE RUNS   RUNS lines "static painted ready": for
        a static copy of the page (the same markup with no script) and for
        the page itself, loaded in turns, the time from navigation to the
        first frame painted with "156375" in the VCO field, taken the same
        way in both by a probe that runs before any script of the page; and
        the time at which the page's handlers are ready
    page_timing.py berechnen PAGE      one press of "Berechnen": the median of
        21 rounds of 100 presses, each the handler with its writes to the DOM
"""
import pathlib
import statistics
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / 'scripts'))
import headless_chromium  # noqa: E402

STATIC_COPY = '''document.querySelectorAll('input').forEach(e => {
  e.setAttribute('value', e.value);
  if (e.checked) e.setAttribute('checked', '');
});
document.querySelectorAll('script').forEach(e => e.remove());
return '<!doctype html>' + document.documentElement.outerHTML;'''

# Looks at every frame from the first on; the task queued in the frame that
# first holds the results runs once that frame is painted.
PROBE = '''(() => {
  const look = () => {
    const vco = document.getElementById('tVCO');
    if (vco && vco.value === '156375') setTimeout(() => performance.mark('probe-painted'));
    else requestAnimationFrame(look);
  };
  requestAnimationFrame(look);
})();'''
PAINTED = "return performance.getEntriesByName('probe-painted')[0]?.startTime"
READY = "return performance.getEntriesByName('teilomat-shown')[0]?.startTime"

PRESSES = '''const done = arguments[arguments.length - 1];
const id = Number(document.getElementById('Command1').dataset.id);
(async () => {
  const rounds = [];
  for (let round = 0; round < 21; round++) {
    const start = performance.now();
    for (let i = 0; i < 100; i++)
      await Module.ccall('teilomat_notify', null, ['number'], [id], {async: true});
    rounds.push((performance.now() - start) / 100);
  }
  done(rounds);
})();'''


def wait_for(browser, script):
    from selenium.webdriver.support.ui import WebDriverWait
    return WebDriverWait(browser, 20).until(lambda b: b.execute_script(script))


mode, page = sys.argv[1], pathlib.Path(sys.argv[2]).resolve()
browser = headless_chromium.start('de-DE')
try:
    headless_chromium.viewport(browser, 800, 600)
    browser.get(page.as_uri())
    headless_chromium.wait_for_page(browser)
    if mode == 'berechnen':
        rounds = browser.execute_async_script(PRESSES)
        print(f'Berechnen in the page: median {statistics.median(rounds) * 1000:.1f} us '
              f'(21 rounds of 100 presses; fastest {min(rounds) * 1000:.1f} us)')
        sys.exit(0)
    static = pathlib.Path(tempfile.mkdtemp(prefix='teilomat-static-')) / 'static.html'
    static.write_text(browser.execute_script(STATIC_COPY), encoding='utf-8')
    browser.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': PROBE})

    def once(url, *scripts):
        browser.get(url)
        return [wait_for(browser, script) / 1000 for script in scripts]

    for _ in range(3):  # warm-up
        once(static.as_uri(), PAINTED), once(page.as_uri(), PAINTED, READY)
    for run in range(int(sys.argv[3])):
        if run % 2:
            t, r = once(page.as_uri(), PAINTED, READY)
            s, = once(static.as_uri(), PAINTED)
        else:
            s, = once(static.as_uri(), PAINTED)
            t, r = once(page.as_uri(), PAINTED, READY)
        print(f'{s:.6f} {t:.6f} {r:.6f}', flush=True)
finally:
    browser.quit()
