"""Timings of the page in headless Chromium, read from the browser's own
clock (milliseconds since the navigation began).

    page_timing.py startup PAGE RUNS   RUNS lines "static teilomat": the time
        from navigation to the default results on screen, for a static copy
        of the page (the same layout with the default numbers written in and
        no script; its first paint) and for the page itself (the frame after
        its start-up), loaded in turns
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

FIRST_PAINT = '''const paint = performance.getEntriesByName('first-contentful-paint')[0];
return paint ? paint.startTime : null;'''

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
    shown = "return performance.getEntriesByName('teilomat-shown')[0]?.startTime"

    def once(url, script):
        browser.get(url)
        return wait_for(browser, script) / 1000

    for _ in range(3):  # warm-up
        once(static.as_uri(), FIRST_PAINT), once(page.as_uri(), shown)
    for run in range(int(sys.argv[3])):
        if run % 2:
            t, s = once(page.as_uri(), shown), once(static.as_uri(), FIRST_PAINT)
        else:
            s, t = once(static.as_uri(), FIRST_PAINT), once(page.as_uri(), shown)
        print(f'{s:.6f} {t:.6f}', flush=True)
finally:
    browser.quit()
