"""The page in headless Chromium, driven as a user and read as a screen reader
does: controls are found by role and accessible name.

    page_test.py PAGE LANGUAGE      (LANGUAGE: de-DE or en-US)

Exits 77 (skipped) where no browser can be had, unless the environment sets
TEILOMAT_BROWSER_REQUIRED, as ./build.sh web does."""
import os
import pathlib
import sys
import traceback

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / 'scripts'))
import headless_chromium  # noqa: E402

try:
    browser = headless_chromium.start(sys.argv[2])
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.support.ui import WebDriverWait
except headless_chromium.Unavailable as why:
    print(f'SKIPPED: no browser for the page tests ({why}); ./build.sh web installs one')
    sys.exit(1 if os.environ.get('TEILOMAT_BROWSER_REQUIRED') else 77)

URL = pathlib.Path(sys.argv[1]).resolve().as_uri()
GERMAN = sys.argv[2].startswith('de')


num = lambda text: text if GERMAN else text.replace(',', '.')  # noqa: E731 - as the language writes it
active = lambda: browser.switch_to.active_element  # noqa: E731
keys = lambda *sequence: ActionChains(browser).send_keys(*sequence).perform()  # noqa: E731


def load(width=800, height=600, scale=1, dark=False):
    headless_chromium.viewport(browser, width, height, scale, dark)
    browser.get(URL)
    headless_chromium.wait_for_page(browser)


def find(role, name):
    for element in browser.find_elements(By.CSS_SELECTOR, 'input, button, a, [role], label'):
        if element.aria_role == role and element.accessible_name == name:
            return element
    raise AssertionError(f'no {role} named "{name}"')


def field(name):
    return find('textbox', name).get_property('value')


def results():
    return [field(n) for n in ('RX (MHz)', 'VCO (KHz)', 'DB0', 'DB1', 'DB2')]


def calculate(rx=None):
    if rx is not None:
        find('textbox', 'RX (MHz)').clear()
        find('textbox', 'RX (MHz)').send_keys(rx)
    find('button', 'Berechnen').click()


def message(text, icon, close):
    """Checks the open message, closes it with the key `close` (or by clicking
    "OK") and checks it is gone."""
    dialog = find('alertdialog', 'Teilomat')
    assert dialog.is_displayed() and text in dialog.text, dialog.text
    assert dialog.find_element(By.CLASS_NAME, icon).is_displayed()
    assert active().accessible_name == 'OK' and active().aria_role == 'button'
    keys(close) if close else active().click()
    assert not dialog.is_displayed()

def test_defaults():
    assert browser.title == 'PLL mit TSA6057'
    assert results() == [num('145,675'), '156375', '223', '48', '160'], results()
    assert field('ZF (MHz)') == num('10,7') and find('combobox', 'Raster (kHz)').get_property('value') == '25,000'
    assert find('checkbox', 'BIT 0 CP (charge Pump)').is_selected() and not find('checkbox', 'AM/FM').is_selected()
    icon = browser.find_element(By.CSS_SELECTOR, 'link[rel=icon]').get_attribute('href')
    assert icon.startswith('data:image/png;base64,')
    assert browser.execute_script("return performance.getEntriesByType('resource').length") == 0

def test_worked_examples():
    calculate(num('145,68'))
    assert results()[:2] == [num('145,675'), '156375']
    calculate(num('145,6625'))
    assert results()[:2] == [num('145,65'), '156350']
    calculate(num('145,675'))
    find('checkbox', 'AM/FM').click()
    find('checkbox', 'BIT 0 CP (charge Pump)').click()
    assert results()[2:] == ['223', '48', '160']  # only the next "Berechnen" takes them
    calculate()
    assert results()[2:] == ['222', '48', '144']

def test_limits_leave_the_page_unchanged():
    before = results()
    raster = find('combobox', 'Raster (kHz)')
    raster.send_keys(Keys.BACKSPACE * 6 + ' 1,000')  # typed text chooses nothing
    calculate()
    assert results() == before
    raster.send_keys(Keys.ALT + Keys.ARROW_DOWN)
    assert raster.get_attribute('aria-expanded') == 'true'
    options = browser.find_elements(By.CSS_SELECTOR, '[role=option]')
    assert [o.get_property('textContent') for o in options] == [' 1,000', '10,000', '25,000']
    assert all(o.aria_role == 'option' and o.is_displayed() for o in options)
    keys(Keys.ARROW_UP, Keys.ARROW_UP, Keys.ENTER)
    assert raster.get_property('value') == ' 1,000' and results() == before
    calculate()
    message('Teilerverhältnis zu gross! (max 131071)', 'stop', Keys.ENTER)
    assert results() == before
    calculate('-20')
    message('Teilerverhältnis zu klein! (min 0)', 'stop', Keys.ESCAPE)
    assert results()[1:] == before[1:]

def test_no_number_warns_and_selects_the_field():
    berechnen = find('button', 'Berechnen')
    calculate('abc')
    # The page behind the dialog can be neither reached nor focused nor clicked.
    try:
        find('button', 'Berechnen')
        raise AssertionError('"Berechnen" reachable behind the dialog')
    except AssertionError as error:
        assert 'no button' in str(error), error
    ActionChains(browser).move_to_element(berechnen).click().perform()
    browser.execute_script('arguments[0].focus()', berechnen)
    message('Ungültige Zahl bei RX (MHz).', 'warning', None)
    rx = find('textbox', 'RX (MHz)')
    assert active() == rx and rx.get_property('value') == 'abc'
    assert browser.execute_script('return [arguments[0].selectionStart, arguments[0].selectionEnd]', rx) == [0, 3]

def test_tab_order():
    names = [active().accessible_name]
    for _ in range(5):
        keys(Keys.TAB)
        names.append(active().accessible_name)
    assert names == ['Berechnen', 'RX (MHz)', 'ZF (MHz)', 'Raster (kHz)', 'BIT 0 CP (charge Pump)', 'AM/FM'], names
    keys(Keys.TAB)  # leaves the page
    assert browser.execute_script('return document.activeElement === document.body')

def luminance(css):
    r, g, b = [int(c) / 255 for c in css[css.index('(') + 1:css.index(')')].split(',')[:3]]
    return sum(w * (c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4)
               for w, c in zip((0.2126, 0.7152, 0.0722), (r, g, b)))

def test_contrast_light_and_dark():
    for dark in (False, True):
        load(dark=dark)
        for name in ('VCO (KHz)', 'DB0', 'RX (MHz)'):
            box = find('textbox', name)
            a, b = (luminance(box.value_of_css_property(p)) for p in ('color', 'background-color'))
            assert (max(a, b) + 0.05) / (min(a, b) + 0.05) >= 4.5, (name, dark)

LAYOUT = '''const fits = Array.from(document.querySelectorAll('.label, .checkbox, .button'))
  .every(e => e.scrollWidth <= e.clientWidth && e.scrollHeight <= e.clientHeight);
const box = document.getElementById('Form1').getBoundingClientRect();
const shown = document.getElementById('window').getBoundingClientRect().width;
const centre = id => { const r = document.getElementById(id).getBoundingClientRect(); return r.left + r.width / 2; };
return [fits, document.documentElement.scrollWidth <= innerWidth, shown, box.width / box.height,
        Math.abs(centre('Label10') - centre('Label11'))];'''

def test_layout_at_zoom_and_on_a_phone():
    for width, scale, form_width in ((800, 1, 400), (640, 2, 400), (360, 1, 360)):
        load(width, 600, scale)
        fits, no_sideways_scroll, w, ratio, off_centre = browser.execute_script(LAYOUT)
        assert fits and no_sideways_scroll and off_centre < 0.5, (width, scale)
        assert abs(w - form_width) < 1 and abs(ratio - 6000 / 5970) < 0.01, (w, ratio)

def test_ende():
    browser.get('about:blank')
    load()  # a second page in the tab's history: the browser refuses to close it
    ActionChains(browser).key_down(Keys.ALT).send_keys('e').key_up(Keys.ALT).perform()
    assert 'Teilomat ist beendet.' in browser.find_element(By.ID, 'ended').text
    find('link', 'Neu starten').click()
    headless_chromium.wait_for_page(browser)
    assert results()[1] == '156375'
    # A tab that a script opened closes.
    browser.execute_script('window.open(arguments[0])', URL)
    opener = browser.current_window_handle
    browser.switch_to.window([h for h in browser.window_handles if h != opener][0])
    headless_chromium.wait_for_page(browser)
    find('menuitem', 'Ende').click()
    WebDriverWait(browser, 5).until(lambda b: b.window_handles == [opener])
    browser.switch_to.window(opener)

CASES = [test_defaults, test_worked_examples, test_limits_leave_the_page_unchanged,
         test_no_number_warns_and_selects_the_field, test_tab_order, test_contrast_light_and_dark,
         test_layout_at_zoom_and_on_a_phone, test_ende]
failed = 0
try:
    for case in CASES:
        try:
            load()
            case()
            print(f'ok    {case.__name__}')
        except Exception as error:  # noqa: BLE001 - every case reports and the next one runs
            failed += 1
            line = traceback.extract_tb(error.__traceback__)[-1].lineno
            print(f'FAIL  {case.__name__}, line {line}: {type(error).__name__} {error}')
finally:
    browser.quit()
print(f'{len(CASES) - failed} of {len(CASES)} cases passed ({sys.argv[2]})')
sys.exit(1 if failed else 0)
