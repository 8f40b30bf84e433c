// The page's three browser engines behind one small interface, so that the
// page's tests and scripts are written once for all of them:
//   chromium  Debian's chromium, headless, through puppeteer-core (CDP);
//   firefox   Debian's firefox-esr, headless, through puppeteer-core over
//             WebDriver BiDi, which Firefox speaks itself (Debian has no
//             geckodriver);
//   webkit    WebKitGTK's MiniBrowser through WebKitWebDriver, spoken to in
//             W3C WebDriver over HTTP; it has no headless mode, so it runs on
//             a virtual X display of its own.
//
// A driver, from launch(engine, language), offers:
//   open(url, view)   loads url in view {width, height, scale, dark, mobile}
//                     (CSS pixels; scale is the device pixel ratio, 2 for a
//                     200 % zoom) in the tab it started with, and waits
//                     until the page is ready; a view may also ask for
//                     keyClicks (keys sent to a focused button click it)
//   navigate(url)     loads url in the same tab, after what it shows, and
//                     waits until the page is ready
//   find(role, name)  the element that the engine's accessibility tree gives
//                     this role and name, as a screen reader finds it; null
//                     if there is none
//   run(fn, ...args)  runs fn in the page and returns its (awaited) result;
//                     elements from find may be passed in
//   click(element)    a real mouse click at the element's centre
//   keys(chord)       presses one key or chord: "Tab", "Alt+ArrowDown",
//                     "AccessKey+e" (the engine's access-key modifiers)
//   type(text)        types text into the focused element, key by key
//   popup(url)        opens url in a new tab by script, as a page would, and
//                     returns a driver for that tab, whose closed() tells
//                     whether the tab closed within a few seconds
//   screenshot(file)  saves the viewport as a PNG
//   errors            what the page reported so far: uncaught errors and
//                     errors in the console (a refused Content-Security-
//                     Policy among them); WebKitWebDriver reports none
//   quit()            ends the browser and everything launch started
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';

export const ENGINES = ['chromium', 'firefox', 'webkit'];

// No browser for an engine on this machine.
export class Unavailable extends Error {}

// True once the page has settled: its handlers are ready, or it says that
// WebAssembly cannot start here.
export const PAGE_READY = () => performance.getEntriesByName('teilomat-shown').length > 0 ||
  document.getElementById('failure')?.hidden === false;

const CHROMIUM = '/usr/bin/chromium';
const FIREFOX = '/usr/bin/firefox-esr';
const WEBKIT_DRIVER = '/usr/bin/WebKitWebDriver';
const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const XVFB = '/usr/bin/Xvfb';

// The same flags as scripts/headless_chromium.py: a fresh profile and nothing
// that reaches out to the network.
const CHROMIUM_FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--disable-default-apps', '--mute-audio'];

const DEFAULT_VIEW = {width: 800, height: 600, scale: 1, dark: false, mobile: false};
const TIMEOUT_MS = 20000;

// What each engine's driver can show, and its access-key modifiers.
// keyClicks: Enter and Space on a focused button click it. Firefox does that
// for a user, but not for keys sent over BiDi.
export const TRAITS = {
  chromium: {accessKey: 'Alt', dark: true, mobile: true, scales: true, narrowest: 0, keyClicks: true},
  // Over BiDi there is no media emulation (it is CDP's) and no touch.
  firefox: {accessKey: 'Alt+Shift', dark: false, mobile: false, scales: true, narrowest: 0,
            keyClicks: false},
  // MiniBrowser's window cannot be made narrower; no zoom over WebDriver.
  webkit: {accessKey: 'Alt', dark: false, mobile: false, scales: false, narrowest: 447,
           keyClicks: true}};

// An input that closes its tab ("Ende") may end without an answer.
function tabMayClose(input) {
  return input.catch((error) => {
    if (!/Target closed|no such frame|BrowsingContext does no longer exist/.test(error.message)) throw error;
  });
}

// Why `engine` cannot show `view` (see open), or null if it can.
export function cannotShow(engine, view) {
  const traits = TRAITS[engine];
  if (view.dark && !traits.dark) return 'no colour-scheme emulation';
  if (view.mobile && !traits.mobile) return 'no mobile emulation';
  if (view.keyClicks && !traits.keyClicks) return 'keys sent to a button do not click it';
  if ((view.scale ?? 1) !== 1 && !traits.scales) return 'no device pixel ratio but 1';
  if ((view.width ?? DEFAULT_VIEW.width) < traits.narrowest) {
    return `no viewport narrower than ${traits.narrowest} px`;
  }
  return null;
}


const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls `check` until it returns something true, for at most `ms`.
async function until(check, ms, what) {
  for (const end = Date.now() + ms; ;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(50);
  }
}

function need(...files) {
  const missing = files.filter((file) => !fs.existsSync(file));
  if (missing.length) throw new Unavailable(`${missing.join(', ')} not installed`);
}

// Loads puppeteer-core from this folder's node_modules (npm ci here).
async function puppeteer() {
  try {
    return (await import('puppeteer-core')).default;
  } catch {
    throw new Unavailable('puppeteer-core is not installed (npm ci in scripts/web)');
  }
}

const NEEDS = {chromium: [CHROMIUM], firefox: [FIREFOX], webkit: [WEBKIT_DRIVER, MINIBROWSER, XVFB]};

// Why no browser of `engine` can be had on this machine, or null.
export async function unavailable(engine) {
  try {
    need(...NEEDS[engine]);
    if (engine !== 'webkit') await puppeteer();
    return null;
  } catch (error) {
    if (error instanceof Unavailable) return error.message;
    throw error;
  }
}

// Waits until the page in `driver` is ready again after it navigated itself.
export function ready(driver) {
  return until(() => driver.run(PAGE_READY).catch(() => false), TIMEOUT_MS, 'the page');
}

// A new browser of `engine` whose preferred language is `language` (de-DE).
export async function launch(engine, language = 'de-DE') {
  if (engine === 'chromium') return launchChromium(language);
  if (engine === 'firefox') return launchFirefox(language);
  if (engine === 'webkit') return launchWebKit(language);
  throw new Error(`unknown engine ${engine}; one of ${ENGINES.join(', ')}`);
}

async function launchChromium(language) {
  need(...NEEDS.chromium);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'teilomat-chromium-'));
  // navigator.language follows the profile's preference, not --lang alone.
  fs.mkdirSync(path.join(profile, 'Default'));
  fs.writeFileSync(path.join(profile, 'Default', 'Preferences'),
                   JSON.stringify({intl: {accept_languages: language}}));
  const browser = await (await puppeteer()).launch({
    executablePath: CHROMIUM, headless: true, userDataDir: profile,
    args: [...CHROMIUM_FLAGS, `--lang=${language}`], protocolTimeout: 60000});
  const cleanUp = () => fs.rmSync(profile, {recursive: true, force: true});
  return new PuppeteerDriver(browser, (await browser.pages())[0], TRAITS.chromium, cleanUp);
}

async function launchFirefox(language) {
  need(...NEEDS.firefox);
  const browser = await (await puppeteer()).launch({
    browser: 'firefox', executablePath: FIREFOX, headless: true, protocolTimeout: 60000,
    extraPrefsFirefox: {'intl.accept_languages': `${language}, ${language.split('-')[0]}`}});
  return new PuppeteerDriver(browser, (await browser.pages())[0], TRAITS.firefox);
}

// Chromium and Firefox through puppeteer-core.
class PuppeteerDriver {
  constructor(browser, page, traits, cleanUp = () => {}, preload = true) {
    Object.assign(this, {browser, page, traits, cleanUp});
    this.errors = [];  // uncaught errors in the page, and errors in its console
    page.on('pageerror', (error) => this.errors.push(String(error.message ?? error)));
    page.on('console', (message) => {
      if (message.type() === 'error') this.errors.push(message.text());
    });
    // A violation of the page's Content-Security-Policy counts as an error:
    // a listener that runs before any of the page's scripts reports it. (A
    // popup's tab, already loaded and free to close itself, needs none.)
    this.preloaded = preload && page.evaluateOnNewDocument(() => addEventListener(
      'securitypolicyviolation', (event) => console.error(`policy violated: ${event.violatedDirective}`)));
  }

  async open(url, view = {}) {
    const {width, height, scale, dark, mobile} = {...DEFAULT_VIEW, ...view};
    await this.page.setViewport({width, height, deviceScaleFactor: scale, isMobile: mobile,
                                 hasTouch: mobile});
    if (this.traits.dark) {
      await this.page.emulateMediaFeatures([
        {name: 'prefers-color-scheme', value: dark ? 'dark' : 'light'}]);
    }
    await this.navigate(url);
  }

  async navigate(url) {
    await this.preloaded;
    await this.page.goto(url);
    await this.page.waitForFunction(PAGE_READY, {timeout: TIMEOUT_MS});
  }

  find(role, name) {
    // The engine's own accessibility tree: CDP in Chromium, BiDi's
    // accessibility locator in Firefox. ("aria/" asks it straight away;
    // "::-p-aria()" goes through a script in the page, five times slower in
    // Firefox.)
    if (/["\\]/.test(name + role)) throw new Error(`a name to find with " or \\: ${name}`);
    return this.page.$(`aria/[name="${name}"][role="${role}"]`);
  }

  run(fn, ...args) {
    return this.page.evaluate(fn, ...args);
  }

  click(element) {
    return tabMayClose(element.click());
  }

  async keys(chord) {
    const [key, ...modifiers] = splitChord(chord, this.traits.accessKey);
    for (const modifier of modifiers) await this.page.keyboard.down(modifier);
    // A character with Alt: puppeteer would send it without its text, and
    // Chromium triggers access keys by the character, as a keyboard sends it.
    await tabMayClose(this.page.keyboard.press(key, key.length === 1 ? {text: key} : {}));
    if (this.page.isClosed()) return;
    for (const modifier of modifiers.reverse()) await this.page.keyboard.up(modifier);
  }

  type(text) {
    return this.page.keyboard.type(text);
  }

  async popup(url) {
    const opened = new Promise((resolve) => this.page.once('popup', resolve));
    await this.page.evaluate((address) => { window.open(address); }, url);
    const page = await opened;
    await page.waitForFunction(PAGE_READY, {timeout: TIMEOUT_MS});
    const driver = new PuppeteerDriver(this.browser, page, this.traits, () => {}, false);
    driver.errors = this.errors;
    const gone = new Promise((resolve) => page.once('close', () => resolve(true)));
    driver.closed = () => Promise.race([gone, sleep(5000).then(() => page.isClosed())]);
    return driver;
  }

  async screenshot(file) {
    await this.page.screenshot({path: file});
  }

  async quit() {
    await this.browser.close();
    this.cleanUp();
  }
}

// "Alt+Shift+e" as ['e', 'Alt', 'Shift']; "AccessKey" stands for the
// engine's access-key modifiers.
function splitChord(chord, accessKey) {
  const parts = chord.replace('AccessKey', accessKey).split('+');
  return [parts.pop(), ...parts];
}

// WebKitGTK: WebKitWebDriver starts MiniBrowser in automation mode on a
// virtual X display (Xvfb) that this driver starts and ends itself.
async function launchWebKit(language) {
  need(...NEEDS.webkit);
  const started = [];
  // Nothing is left running should this process end without quit().
  process.once('exit', () => started.forEach((child) => child.kill()));
  try {
    const xvfb = spawn(XVFB, ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                       {stdio: ['ignore', 'ignore', 'ignore', 'pipe']});
    started.push(xvfb);
    const display = await new Promise((resolve, reject) => {
      xvfb.stdio[3].once('data', (data) => resolve(`:${String(data).trim()}`));
      xvfb.once('exit', () => reject(new Error('Xvfb ended at start')));
    });
    const port = await freePort();
    // The page's language is the locale's (the locale must be generated).
    const locale = `${language.replace('-', '_')}.UTF-8`;
    const driver = spawn(WEBKIT_DRIVER, [`--port=${port}`], {
      env: {...process.env, DISPLAY: display, LANG: locale, LC_ALL: locale, LANGUAGE: ''},
      stdio: 'ignore'});
    started.push(driver);
    const base = `http://127.0.0.1:${port}`;
    await until(() => fetch(`${base}/status`).then((r) => r.ok, () => false), TIMEOUT_MS,
                'WebKitWebDriver');
    // A script may open a tab (popup) without a click, as in the other engines' automation.
    const args = ['--automation', '--javascript-can-open-windows-automatically=true'];
    const {sessionId} = await request(base, 'POST', '/session', {capabilities: {alwaysMatch: {
      'webkitgtk:browserOptions': {binary: MINIBROWSER, args}}}});
    const session = {base: `${base}/session/${sessionId}`, current: null, started};
    session.current = await request(session.base, 'GET', '/window');
    return new WebDriver(session, session.current);
  } catch (error) {
    for (const process of started) process.kill();
    throw error;
  }
}

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer().once('error', reject).listen(0, '127.0.0.1', () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    });
  });
}

// One W3C WebDriver command; a WebDriver error becomes an exception.
async function request(base, method, route, body) {
  const response = await fetch(base + route, {
    method, headers: {'content-type': 'application/json; charset=utf-8'},
    body: body === undefined ? undefined : JSON.stringify(body)});
  const {value} = await response.json();
  if (value && value.error) throw new Error(`WebDriver ${route}: ${value.error}: ${value.message}`);
  return value;
}

// W3C WebDriver's codes for the keys that are not characters.
const KEY_CODES = {
  Backspace: '\uE003', Tab: '\uE004', Enter: '\uE007', Shift: '\uE008', Control: '\uE009',
  Alt: '\uE00A', Escape: '\uE00C', End: '\uE010', Home: '\uE011', ArrowLeft: '\uE012',
  ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015', Space: ' '};
const keyCode = (key) => KEY_CODES[key] ?? key;

// Roles as CSS, to ask the engine about few elements rather than all; the
// engine's computed role and label still decide.
const ROLE_CANDIDATES = {
  textbox: 'input:not([type=checkbox]):not([type=radio]), textarea',
  button: 'button, input[type=button], input[type=submit]',
  checkbox: 'input[type=checkbox]', combobox: 'input, select', link: 'a[href]',
  heading: 'h1, h2, h3, h4, h5, h6', main: 'main', dialog: 'dialog', alertdialog: 'dialog',
  listbox: 'select, ul, ol', option: 'option, li', menuitem: '[role=menuitem]'};

// WebKitWebDriver computes roles and names without regard to a modal
// dialog, which takes everything else out of a screen reader's reach; so
// does this, as WebKit's accessibility tree does.
const REACHABLE = (element) => {
  const modal = document.querySelector('dialog:modal');
  return (!modal || modal.contains(element)) && !element.closest('[inert], [aria-hidden=true]');
};

// WebKitGTK over W3C WebDriver. Each tab is a driver of its own over the same
// session; a command for another tab than the current one switches first.
class WebDriver {
  constructor(session, handle) {
    Object.assign(this, {session, handle});
    this.traits = TRAITS.webkit;
    this.errors = [];  // not reported over W3C WebDriver
  }

  async command(method, route, body) {
    if (this.session.current !== this.handle) {
      await request(this.session.base, 'POST', '/window', {handle: this.handle});
      this.session.current = this.handle;
    }
    return request(this.session.base, method, route, body);
  }

  async open(url, view = {}) {
    const {width, height} = {...DEFAULT_VIEW, ...view};
    // The window's size is set, the viewport follows: two rounds make up
    // for the window's frame and toolbar.
    for (let round = 0; round < 2; round++) {
      const [innerWidth, innerHeight] = await this.run(() => [innerWidth, innerHeight]);
      const rect = await this.command('GET', '/window/rect');
      await this.command('POST', '/window/rect', {
        width: rect.width + width - innerWidth, height: rect.height + height - innerHeight});
    }
    await this.navigate(url);
  }

  async navigate(url) {
    await this.command('POST', '/url', {url});
    await until(() => this.run(PAGE_READY), TIMEOUT_MS, 'the page');
  }

  async find(role, name) {
    const candidates = await this.command('POST', '/elements', {
      using: 'css selector', value: ROLE_CANDIDATES[role] ?? 'body *'});
    for (const element of candidates) {
      const id = Object.values(element)[0];
      // Elements outside the accessibility tree (head, script) have no role.
      const computed = await this.command('GET', `/element/${id}/computedrole`).catch(() => null);
      if (computed === role &&
          await this.command('GET', `/element/${id}/computedlabel`) === name) {
        return (await this.run(REACHABLE, element)) ? element : null;
      }
    }
    return null;
  }

  run(fn, ...args) {
    return this.command('POST', '/execute/sync', {
      script: `return (${fn}).apply(null, arguments);`, args});
  }

  async actions(source) {
    await this.command('POST', '/actions', {actions: [source]});
    // Releases the keys and buttons, unless the action closed the tab.
    await this.command('DELETE', '/actions').catch(() => {});
  }

  // At the element's centre in the viewport, whatever stands there (an
  // element as origin must be free to take the click).
  async click(element) {
    const [x, y] = await this.run((e) => {
      const r = e.getBoundingClientRect();
      return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)];
    }, element);
    return this.actions({type: 'pointer', id: 'mouse', parameters: {pointerType: 'mouse'}, actions: [
      {type: 'pointerMove', origin: 'viewport', x, y},
      {type: 'pointerDown', button: 0}, {type: 'pointerUp', button: 0}]});
  }

  keys(chord) {
    const [key, ...modifiers] = splitChord(chord, this.traits.accessKey).map(keyCode);
    return this.actions({type: 'key', id: 'keyboard', actions: [
      ...modifiers.map((value) => ({type: 'keyDown', value})),
      {type: 'keyDown', value: key}, {type: 'keyUp', value: key},
      ...modifiers.reverse().map((value) => ({type: 'keyUp', value}))]});
  }

  type(text) {
    return this.actions({type: 'key', id: 'keyboard', actions: [...text].flatMap((value) => [
      {type: 'keyDown', value}, {type: 'keyUp', value}])});
  }

  async popup(url) {
    const before = await this.command('GET', '/window/handles');
    await this.run((address) => { window.open(address); }, url);
    const handles = await until(async () => {
      const now = await this.command('GET', '/window/handles');
      return now.length > before.length && now;
    }, TIMEOUT_MS, 'the new tab');
    const driver = new WebDriver(this.session, handles.find((h) => !before.includes(h)));
    await until(() => driver.run(PAGE_READY), TIMEOUT_MS, 'the page in the new tab');
    driver.closed = () => until(async () => {
      const now = await request(this.session.base, 'GET', '/window/handles');
      return !now.includes(driver.handle);
    }, 5000, 'the tab to close').catch(() => false);
    return driver;
  }

  async screenshot(file) {
    fs.writeFileSync(file, Buffer.from(await this.command('GET', '/screenshot'), 'base64'));
  }

  async quit() {
    await request(this.session.base, 'DELETE', '').catch(() => {});
    for (const process of this.session.started) process.kill();
  }
}
