"""Headless Chromium through WebDriver, as the page's tests, timings and
screenshots use it: Debian's chromium and chromium-driver with
python3-selenium, a fresh profile per browser, and nothing that reaches out
to the network (updates, sync, background requests)."""
import atexit
import shutil
import tempfile


class Unavailable(Exception):
    """No browser can be had on this machine."""


FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--disable-default-apps', '--mute-audio']


def start(language='de-DE'):
    """A new browser whose preferred language is `language`."""
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
    except ImportError:
        raise Unavailable('python3-selenium is not installed')
    browser, driver = shutil.which('chromium'), shutil.which('chromedriver')
    if not browser or not driver:
        raise Unavailable('chromium and chromium-driver are not installed')
    profile = tempfile.mkdtemp(prefix='teilomat-chromium-')
    atexit.register(shutil.rmtree, profile, True)
    options = webdriver.ChromeOptions()
    options.binary_location = browser
    for flag in FLAGS + [f'--user-data-dir={profile}', f'--lang={language}']:
        options.add_argument(flag)
    options.add_experimental_option('prefs', {'intl.accept_languages': language})
    return webdriver.Chrome(service=Service(driver), options=options)


def viewport(browser, width, height, scale=1, dark=False):
    """Sets the page's viewport in CSS pixels, its device pixel ratio (2 is
    what a 200 % page zoom gives) and its colour scheme."""
    browser.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
        'width': width, 'height': height, 'deviceScaleFactor': scale, 'mobile': False})
    browser.execute_cdp_cmd('Emulation.setEmulatedMedia', {'features': [
        {'name': 'prefers-color-scheme', 'value': 'dark' if dark else 'light'}]})


def wait_for_page(browser):
    """Waits until the page's handlers are ready (its results are in its markup)."""
    from selenium.webdriver.support.ui import WebDriverWait
    WebDriverWait(browser, 20).until(lambda b: b.execute_script(
        "return performance.getEntriesByName('teilomat-shown').length > 0"))
