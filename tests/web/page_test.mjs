// The page in a browser engine, driven as a user drives it and read as a
// screen reader reads it: controls are found by role and accessible name in
// the engine's accessibility tree.
//
//   node page_test.mjs PAGE ENGINE LANGUAGE   (chromium|firefox|webkit, de-DE|en-US|ar-EG)
//
// Exits 77 (skipped) where the engine cannot be had, unless the environment
// sets TEILOMAT_BROWSER_REQUIRED, as ./build.sh web does.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';
import {cannotShow, launch, ready, unavailable} from '../../scripts/web/engines.mjs';

const [page, engine, language] = process.argv.slice(2);
const url = pathToFileURL(page).href;

// Values are written in German; n() is a number as the page's language writes
// it (ar-EG as English: Latin digits, a point).
const n = (german) => (t) => (language.startsWith('de') ? german : german.replace(',', '.'));
const resolve = (value, t) => (typeof value === 'function' ? value(t) : value);

// The element of this role and name. Asking the accessibility tree is slow
// in Firefox, so each is asked for once per page load.
async function the(t, role, name, optional = false) {
  const key = `${role}|${name}`;
  const element = t.found.has(key) ? t.found.get(key) : await t.driver.find(role, name);
  assert.ok(optional || element, `no ${role} named "${name}"`);
  if (element || optional) t.found.set(key, element);
  return element;
}
const control = async (t, name) => (await the(t, 'textbox', name, true)) ?? the(t, 'combobox', name);
const valueOf = async (t, name) => t.driver.run((e) => e.value, await control(t, name));

const RESULTS = ['RX (MHz)', 'VCO (KHz)', 'DB0', 'DB1', 'DB2'];
const results = async (t) => Promise.all(RESULTS.map((name) => valueOf(t, name)));

// The steps a case is made of: each takes the case's state t. A check may
// have to wait for the page (a handler goes on once its message is closed):
// it is tried again for up to two seconds.
const check = (fn) => async (t) => {
  for (const end = Date.now() + 2000; ;) {
    try {
      return await fn(t);
    } catch (error) {
      if (!(error instanceof assert.AssertionError) || Date.now() > end) throw error;
    }
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
};
const click = (role, name) => async (t) => t.driver.click(await the(t, role, name));
const keys = (...chords) => async (t) => { for (const chord of chords) await t.driver.keys(chord); };
const enter = (name, text) => async (t) => {
  const field = await control(t, name);
  await t.driver.click(field);
  await t.driver.run((e) => e.select(), field);
  await t.driver.type(resolve(text, t));
};
const calc = (rx) => async (t) => {
  if (rx !== undefined) await enter('RX (MHz)', rx)(t);
  await click('button', 'Berechnen')(t);
};
const shows = (...expected) => check(async (t) =>
  assert.deepEqual(await results(t), expected.map((value) => resolve(value, t))));
const bytes = (...expected) => check(async (t) => assert.deepEqual((await results(t)).slice(2), expected));
// The results as the page showed them when loaded, but for the fields named.
const unchanged = (...except) => Object.assign(check(async (t) => {
  const now = await results(t);
  RESULTS.forEach((name, i) => except.includes(name) || assert.equal(now[i], t.initial[i], name));
}), {needsInitial: true});
const values = (expected) => check(async (t) => {
  for (const [name, value] of Object.entries(expected)) assert.equal(await valueOf(t, name), resolve(value, t), name);
});
const ticked = (expected) => check(async (t) => {
  for (const [name, value] of Object.entries(expected)) {
    assert.equal(await t.driver.run((e) => e.checked, await the(t, 'checkbox', name)), value, name);
  }
});
const focused = (role, name) => check(async (t) =>
  assert.ok(await t.driver.run((e) => e === document.activeElement, await the(t, role, name)), `${name} has no focus`));
const absent = (role, name) => check(async (t) => assert.equal(await t.driver.find(role, name), null, `${role} "${name}" found`));
const js = (fn, expected, ...args) => check(async (t) => assert.deepEqual(await t.driver.run(fn, ...args), expected));
const expanded = (name) => check(async (t) =>
  assert.equal(await t.driver.run((e) => e.getAttribute('aria-expanded'), await the(t, 'combobox', name)), 'true'));
// The list's options, each shown and an option to the accessibility tree
// (whose names drop the leading blank).
const options = (...texts) => check(async (t) => {
  assert.deepEqual(await t.driver.run(() => [...document.querySelectorAll('[role=option]')]
    .map((o) => o.getClientRects().length > 0 && o.textContent)), texts);
  for (const text of texts) (await the(t, 'option', text, true)) ?? (await the(t, 'option', text.trim()));
});
// The message dialog open with its text and icon, "OK" focused.
const message = (text, icon) => check(async (t) => {
  const [open, shown, iconShown] = await t.driver.run((d, c) => [d.open, d.textContent,
    getComputedStyle(d.querySelector(`.${c}`)).display !== 'none'], await the(t, 'alertdialog', 'Teilomat'), icon);
  assert.ok(open && shown.includes(text) && iconShown, shown);
  await focused('button', 'OK')(t);
});
const noMessage = js(() => Boolean(document.querySelector('dialog[open]')), false);
// The focus left the page (Chromium, Firefox) or wrapped to "Berechnen"
// (WebKit), and met no other stop on its way.
const tabbedOut = check(async (t) => assert.ok(await t.driver.run((first) => [document.body, first]
  .includes(document.activeElement), await the(t, 'button', 'Berechnen')), 'Tab stopped in the page'));
const selection = (name, start, end) => check(async (t) =>
  assert.deepEqual(await t.driver.run((e) => [e.selectionStart, e.selectionEnd], await control(t, name)), [start, end]));
const remember = (role, name) => async (t) => { t.kept[name] = await the(t, role, name); };
// Clicks, then focuses by script, an element remembered before.
const poke = (name) => async (t) => {
  await t.driver.click(t.kept[name]);
  await t.driver.run((e) => e.focus(), t.kept[name]);
};
// The page loaded once more in its tab, which then has a history.
const again = async (t) => { t.found.clear(); await t.driver.navigate(url); };
const loaded = async (t) => { t.found.clear(); await ready(t.driver); };
const closes = (...steps) => async (t) => {
  const popup = await t.driver.popup(url);
  for (const step of steps) await step({...t, driver: popup, found: new Map()});
  assert.ok(await popup.closed(), 'the tab stayed open');
};

function luminance(css) {
  const [r, g, b] = css.match(/[\d.]+/g).slice(0, 3).map((c) => c / 255);
  const linear = (c) => (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
  return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}
// Text against its background at 4.5:1 or more (WCAG AA).
const contrast = (...names) => check(async (t) => {
  for (const name of names) {
    const colours = await t.driver.run((e) => [getComputedStyle(e).color, getComputedStyle(e).backgroundColor],
                                       await control(t, name));
    const [a, b] = colours.map(luminance);
    assert.ok((Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05) >= 4.5, `${name}: ${colours}`);
  }
});
// Text fits its control, no sideways scroll, the window (menu and form)
// `width` wide, the form in the design's proportions, title and credit line
// centred on one axis.
const layout = (width) => check(async (t) => {
  const [fits, noScroll, w, ratio, offCentre] = await t.driver.run(() => {
    const centre = (id) => { const r = document.getElementById(id).getBoundingClientRect(); return r.left + r.width / 2; };
    const box = document.querySelector('main').getBoundingClientRect();
    return [[...document.querySelectorAll('.label, .checkbox, .button')]
      .every((e) => e.scrollWidth <= e.clientWidth && e.scrollHeight <= e.clientHeight),
    document.documentElement.scrollWidth <= innerWidth, document.getElementById('window').getBoundingClientRect().width,
    box.width / box.height, Math.abs(centre('Label10') - centre('Label11'))];
  });
  assert.ok(fits && noScroll && offCentre < 0.5, `fits ${fits}, no sideways scroll ${noScroll}, off centre ${offCentre}`);
  assert.ok(Math.abs(w - width) < 1 && Math.abs(ratio - 6000 / 5970) < 0.01, `${w} wide, ${ratio}`);
});
// On touch: the smallest target (its caption included) and the smallest text
// as drawn, in CSS pixels.
const touch = (target, text) => js(() => {
  const drawn = (e) => e.getBoundingClientRect();
  const targets = [...document.querySelectorAll('#mnuFile, .combobox button, .button, [role=option], label.checkbox')];
  const texts = [...document.querySelectorAll('#mnuFile, .control, [role=option]')].filter((e) => e.textContent || e.value);
  return [Math.floor(Math.min(...targets.map((e) => Math.min(drawn(e).width, drawn(e).height)))) >= 24,
    Math.min(...texts.map((e) => parseFloat(getComputedStyle(e).fontSize) * e.currentCSSZoom)) >= 12];
}, [target, text]);
const named = (role, name) => async (t) => { await the(t, role, name); };
// The open message's accessible description begins with its severity.
const described = (severity) => js(() => document.querySelector('dialog[open]').getAttribute('aria-describedby')
  .split(' ').map((id) => document.getElementById(id).textContent).join(' ').split(' ')[0], severity);
const announced = (text) => check(async (t) => assert.equal(
  await t.driver.run(() => document.querySelector('[aria-live=polite]').textContent), resolve(text, t)));
// The page under a policy without 'wasm-unsafe-eval': a copy of it, loaded in
// the same tab. The violation it provokes is expected.
const withoutWasm = async (t) => {
  const copy = path.join(os.tmpdir(), `teilomat-no-wasm-${process.pid}.html`);
  fs.writeFileSync(copy, fs.readFileSync(page, 'utf8').replace(" 'wasm-unsafe-eval'", ''));
  t.found.clear();
  await t.driver.navigate(pathToFileURL(copy).href);
  fs.rmSync(copy);
  t.driver.errors.splice(0);
};

// One row per case: its name, the view it loads in (see engines.mjs), its steps.
const CASES = [
  ['the defaults', {}, shows(n('145,675'), '156375', '223', '48', '160'),
    values({'ZF (MHz)': n('10,7'), 'Raster (kHz)': '25,000'}), ticked({'BIT 0 CP (charge Pump)': true, 'AM/FM': false})],
  ['title, icon as data, nothing fetched', {}, js(() => [document.title, document.querySelector('link[rel=icon]').href.slice(0, 22),
    performance.getEntriesByType('resource').length], ['PLL mit TSA6057', 'data:image/png;base64,', 0])],
  ['145,68 is pulled onto the 25 kHz grid', {}, calc(n('145,68')), shows(n('145,675'), '156375', '223', '48', '160')],
  ['145,6625 rounds down to 145,65', {}, calc(n('145,6625')), values({'RX (MHz)': n('145,65'), 'VCO (KHz)': '156350'})],
  ['AM/FM and CP wait for Berechnen', {}, click('checkbox', 'AM/FM'), click('checkbox', 'BIT 0 CP (charge Pump)'),
    bytes('223', '48', '160'), calc(), bytes('222', '48', '144')],
  ['typed raster text chooses nothing', {}, enter('Raster (kHz)', ' 1,000'), calc(), unchanged()],
  ['Alt+Down opens the raster list', {}, click('combobox', 'Raster (kHz)'), keys('Alt+ArrowDown'),
    expanded('Raster (kHz)'), options(' 1,000', '10,000', '25,000')],
  ['" 1,000" chosen: too large', {}, click('combobox', 'Raster (kHz)'), keys('ArrowDown', 'ArrowUp', 'ArrowUp', 'Enter'),
    values({'Raster (kHz)': ' 1,000'}), unchanged(), calc(), message('Teilerverhältnis zu gross! (max 131071)', 'stop'),
    click('button', 'OK'), noMessage, unchanged()],
  ['Enter closes a message', {keyClicks: true}, calc('-20'), keys('Enter'), noMessage],
  ['-20: too small, Escape closes', {}, calc('-20'), message('Teilerverhältnis zu klein! (min 0)', 'stop'), keys('Escape'),
    noMessage, unchanged('RX (MHz)')],
  ['"abc" warns; OK selects the field', {}, calc('abc'), message('Ungültige Zahl bei RX (MHz).', 'warning'),
    click('button', 'OK'), noMessage, focused('textbox', 'RX (MHz)'), values({'RX (MHz)': 'abc'}), selection('RX (MHz)', 0, 3)],
  ['the page behind a message is out of reach', {}, remember('button', 'Berechnen'), calc('abc'),
    absent('button', 'Berechnen'), poke('Berechnen'), message('Ungültige Zahl bei RX (MHz).', 'warning')],
  ['Tab order', {}, focused('button', 'Berechnen'), keys('Tab'), focused('textbox', 'RX (MHz)'), keys('Tab'),
    focused('textbox', 'ZF (MHz)'), keys('Tab'), focused('combobox', 'Raster (kHz)'), keys('Tab'),
    focused('checkbox', 'BIT 0 CP (charge Pump)'), keys('Tab'), focused('checkbox', 'AM/FM'),
    keys('Shift+Tab'), focused('checkbox', 'BIT 0 CP (charge Pump)')],
  ['Tab from AM/FM leaves the page or wraps', {}, click('checkbox', 'AM/FM'), keys('Tab'), tabbedOut],
  ['contrast, light', {}, contrast('VCO (KHz)', 'DB0', 'RX (MHz)')],
  ['contrast, dark', {dark: true}, contrast('VCO (KHz)', 'DB0', 'RX (MHz)')],
  ['layout at 100 %', {}, layout(400)],
  ['layout at 200 %', {width: 640, scale: 2}, layout(400)],
  ['layout 360 px wide', {width: 360}, layout(360)],
  ['Ende with its access key ends the page in place', {userTab: true}, again, keys('AccessKey+e'),
    js(() => document.body.innerText.includes('Teilomat ist beendet.'), true), click('link', 'Neu starten'), loaded,
    shows(n('145,675'), '156375', '223', '48', '160')],
  ['Ende closes a tab that a script opened', {}, closes(click('menuitem', 'Ende'))],
  // Alt+E is the page's own, whatever chord the engine's access keys take.
  ['Alt+E ends the page in every engine', {userTab: true}, again,
    js(() => document.getElementById('mnuFile').getAttribute('aria-keyshortcuts'), 'Alt+E'), keys('Alt+e'),
    js(() => document.body.innerText.includes('Teilomat ist beendet.'), true)],
  // Nothing reaches the window behind a message: not "Ende", and a box
  // clicked by script stays as the state is (DB2 160, not 144).
  ['a message holds off Alt+E and a scripted AM/FM click', {}, calc('-20'), message('Teilerverhältnis zu klein! (min 0)', 'stop'),
    keys('Alt+e'), js(() => { const box = document.getElementById('TSA_AMFM'); box.click(); return box.checked; }, false),
    keys('Escape'), noMessage, calc(n('145,675')), bytes('223', '48', '160')],
  ['results announced after a Berechnen that computes', {}, announced(''), calc('-20'), keys('Escape'), announced(''),
    calc(n('145,68')), announced(n('RX 145,675 MHz, VCO 156375 kHz, DB0 223, DB1 48, DB2 160'))],
  ['names, roles and the severity of a message', {}, named('main', 'Teilomat'), named('heading', 'Teilomat'),
    click('button', 'Rasterliste öffnen'), named('listbox', 'Raster (kHz)'), named('option', '1,000'),
    calc('-20'), described('Fehler'), keys('Escape'), calc('abc'), described('Warnung')],
  ['a 393 px touch screen', {width: 393, height: 852, mobile: true}, layout(393),
    click('button', 'Rasterliste öffnen'), touch(true, true)],
  ['without wasm-unsafe-eval: a line says so, controls disabled', {}, withoutWasm,
    js(() => [document.getElementById('failure').checkVisibility(), document.getElementById('failure').textContent.includes('WebAssembly'),
      [...document.querySelectorAll('main input, main button')].every((e) => e.disabled)], [true, true, true])],
];

const why = await unavailable(engine);
if (why) {
  console.log(`SKIPPED: no ${engine} for the page tests (${why}); ./build.sh web installs it`);
  process.exit(process.env.TEILOMAT_BROWSER_REQUIRED ? 1 : 77);
}
let driver;
before(async () => {
  driver = await launch(engine, language);
  await driver.open(url);
  assert.equal(await driver.run(() => navigator.language), language, 'the browser took another language');
});
after(() => driver?.quit());
for (const [name, view, ...steps] of CASES) {
  test(name, {skip: cannotShow(engine, view) ?? false}, async () => {
    const t = {driver, view, kept: {}, found: new Map()};
    await driver.open(url, view);
    if (steps.some((step) => step.needsInitial)) t.initial = await results(t);
    for (const step of steps) await step(t);
    assert.deepEqual(driver.errors.splice(0), [], 'errors in the page');
  });
}
