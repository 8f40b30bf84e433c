// node page_test.mjs PAGE chromium|firefox|webkit de-DE|en-US|ar-EG: the page in one engine, driven as a user drives
// it and read as a screen reader reads it, a control named by role and accessible name ('button Berechnen') and
// found in the engine's accessibility tree. Exits 77 (skipped) without the engine, unless TEILOMAT_BROWSER_REQUIRED.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';
import {spawnSync} from 'node:child_process';
import {cannotShow, launch, ready, unavailable} from '../../scripts/web/engines.mjs';

const [page, engine, language, cli] = process.argv.slice(2);
const url = pathToFileURL(page).href;

// Values are written in German; n() is a number as the page's language writes
// it (ar-EG as English: Latin digits, a point).
const n = (german) => () => (language.startsWith('de') ? german : german.replace(',', '.'));
const resolve = (value, t) => (typeof value === 'function' ? value(t) : value);

// The element of a control ('role name'), found in the accessibility tree once per page load.
const find = (t, control) => t.driver.find(...control.split(/ (.*)/, 2));
async function the(t, control, optional = false) {
  const element = t.found.get(control) ?? await find(t, control);
  assert.ok(element || optional, `no ${control}`);
  if (element) t.found.set(control, element);
  return element;
}
// A field by its label alone: a text box or the raster's combobox.
const field = async (t, name) => (await the(t, `textbox ${name}`, true)) ?? the(t, `combobox ${name}`);
const valueOf = async (t, name) => t.driver.run((e) => e.value, await field(t, name));
const RESULTS = ['RX (MHz)', 'VCO (KHz)', 'DB0', 'DB1', 'DB2'];
const results = async (t) => Promise.all(RESULTS.map((name) => valueOf(t, name)));

// A check may have to wait for the page (a handler goes on once its message
// is closed): it is tried again for up to two seconds.
const check = (fn) => async (t) => {
  for (const end = Date.now() + 2000; ; await new Promise((resolve) => setTimeout(resolve, 50))) {
    const error = await fn(t).then(() => null, (e) => e);
    if (!error) return;
    if (!(error instanceof assert.AssertionError) || Date.now() > end) throw error;
  }
};

// The steps of a case; each takes the case's state t.
const click = (control) => async (t) => t.driver.click(typeof control === 'string' ? await the(t, control) : control);
const keys = (...chords) => async (t) => { for (const chord of chords) await t.driver.keys(chord); };
const enter = (name, text) => async (t) => {
  await click(await field(t, name))(t);
  await t.driver.run((e) => e.select(), await field(t, name)).then(() => t.driver.type(resolve(text)));
};
const calc = (rx) => async (t) => { if (rx !== undefined) await enter('RX (MHz)', rx)(t); await click('button Berechnen')(t); };
const values = (expected) => check(async (t) => {
  for (const [name, value] of Object.entries(resolve(expected, t))) assert.equal(await valueOf(t, name), resolve(value), name);
});
// The results as the page showed them when loaded, but for the fields named.
const unchanged = (...except) => Object.assign(values((t) => Object.fromEntries(RESULTS.map((name, i) => [name, t.initial[i]])
  .filter(([name]) => !except.includes(name)))), {needsInitial: true});
// What fn gives in the page for the control.
const is = (control, fn, want) => check(async (t) => assert.deepEqual(await t.driver.run(fn, await the(t, control)), want, control));
const focused = (control) => is(control, (e) => e === document.activeElement, true);
const ticked = (control, expected) => is(control, (e) => e.checked, expected);
const absent = (control) => check(async (t) => assert.equal(await find(t, control), null, `${control} found`));
const js = (fn, expected) => check(async (t) => assert.deepEqual(await t.driver.run(fn), expected));
// Tab moves the focus through the controls in this order.
const tabOrder = (...controls) => async (t) => { for (const c of controls) await keys('Tab')(t).then(() => focused(c)(t)); };
// The list's options, each shown and an option to the accessibility tree,
// named without the blank that aligns " 1,000".
const options = (...texts) => check(async (t) => {
  assert.deepEqual(await t.driver.run(() => [...document.querySelectorAll('[role=option]')]
    .map((o) => o.getClientRects().length > 0 && o.textContent)), texts);
  for (const text of texts) await the(t, `option ${text.trim()}`);
});
// The message open with its text and icon, "OK" focused.
const message = (text, icon) => check(async (t) => {
  const [open, shown, iconShown] = await t.driver.run((d, c) => [d.open, d.textContent,
    getComputedStyle(d.querySelector(`.${c}`)).display !== 'none'], await the(t, 'alertdialog Teilomat'), icon);
  assert.ok(open && shown.includes(text) && iconShown, shown);
  await focused('button OK')(t);
});
const noMessage = js(() => Boolean(document.querySelector('dialog[open]')), false);
// Clicks a control found before, and focuses it by script, now that it may be out of reach.
const poke = (control) => async (t) =>
  click(t.found.get(control))(t).then(() => t.driver.run((e) => e.focus(), t.found.get(control)));
// The page loaded once more in its tab, which then has a history.
const again = async (t) => { t.found.clear(); await t.driver.navigate(url); };
const loaded = async (t) => { t.found.clear(); await ready(t.driver); };
// The steps in a tab that the page opens by script, which must close.
const closes = (...steps) => async (t) => {
  const popup = await t.driver.popup(url);
  for (const step of steps) await step({...t, driver: popup, found: new Map()});
  assert.ok(await popup.closed(), 'the tab stayed open');
};

// Text against its background at 4.5:1 or more (WCAG AA's relative luminance).
const linear = (c) => (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
const luminance = (css) => css.match(/[\d.]+/g).slice(0, 3)
  .reduce((sum, c, i) => sum + [0.2126, 0.7152, 0.0722][i] * linear(c / 255), 0);
const contrast = (...names) => check(async (t) => {
  for (const name of names) {
    const style = (e) => [getComputedStyle(e).color, getComputedStyle(e).backgroundColor];
    const colours = await t.driver.run(style, await field(t, name));
    const [a, b] = colours.map(luminance);
    assert.ok((Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05) >= 4.5, `${name}: ${colours}`);
  }
});
// Text fits its control, no sideways scroll, the window (menu and form)
// `width` wide, the form in the design's proportions, title and credit line
// centred on one axis.
const layout = (width) => check(async (t) => {
  const [fits, noScroll, w, ratio, offCentre] = await t.driver.run((box = document.querySelector('main').getBoundingClientRect()) => {
    const centre = (id) => { const r = document.getElementById(id).getBoundingClientRect(); return r.left + r.width / 2; };
    return [[...document.querySelectorAll('.label, .checkbox, .button')]
      .every((e) => e.scrollWidth <= e.clientWidth && e.scrollHeight <= e.clientHeight),
    document.documentElement.scrollWidth <= innerWidth, document.getElementById('window').getBoundingClientRect().width,
    box.width / box.height, Math.abs(centre('Label10') - centre('Label11'))];
  });
  assert.ok(fits && noScroll && offCentre < 0.5, `fits ${fits}, no sideways scroll ${noScroll}, off centre ${offCentre}`);
  assert.ok(Math.abs(w - width) < 1 && Math.abs(ratio - 6000 / 5970) < 0.01, `${w} wide, ${ratio}`);
});
// Narrow: the controls (not the line nor the centred captions, boxes wider than their text) span `share` of the width
// or more, every caption's text is whole on screen, and title and credit line stay centred over the fields.
const fills = (share) => check(async (t) => assert.deepEqual(await t.driver.run((least, drawn = (e) => e.getBoundingClientRect()) => {
  const boxes = [...document.querySelectorAll('#Form1 .control:not(.line, #Label10, #Label11)')].map(drawn);
  const text = (e, r = document.createRange()) => { r.selectNodeContents(e); return drawn(r); };
  const centre = (id, r = drawn(document.getElementById(id))) => r.left + r.width / 2;
  return [(Math.max(...boxes.map((r) => r.right)) - Math.min(...boxes.map((r) => r.left))) / innerWidth >= least,
    [...document.querySelectorAll('#Form1 :is(.label, .checkbox, .button)')].every((e) => text(e).left >= 0 && text(e).right <= innerWidth),
    ['Label10', 'Label11'].every((id) => Math.abs(centre(id) - centre('tfo')) < 0.5)];
}, share), [true, true, true]));
// On touch: the smallest target (its caption included) and the smallest text
// as drawn, in CSS pixels.
const touch = (target, text) => js(() => {
  const drawn = (e) => e.getBoundingClientRect();
  const targets = [...document.querySelectorAll('#mnuFile, .combobox button, .button, [role=option], label.checkbox')];
  const texts = [...document.querySelectorAll('#mnuFile, .control, [role=option]')].filter((e) => e.textContent || e.value);
  return [Math.floor(Math.min(...targets.map((e) => Math.min(drawn(e).width, drawn(e).height)))) >= 24,
    Math.min(...texts.map((e) => parseFloat(getComputedStyle(e).fontSize) * e.currentCSSZoom)) >= 12];
}, [target, text]);
const named = (control) => async (t) => { await the(t, control); };
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


// The channel-list view: a list pasted as text or dropped as a file, and
// the command's own output for the same list (teilomat-cli plan) to compare;
// rows that need the command are skipped where it has not been built.
const EXAMPLE = `Location,Name,Frequency,Duplex,Offset,Tone
1,Relais DB0XY,145.600000,-,0.600000,Tone
2,S20,145.500000,,0.000000,
4,"Hören, nur",145.525000,off,0.000000,
`;
const OFF_RASTER = `${EXAMPLE}5,S12,145.612500,,0.000000,\n`;
// The file the command writes with -o NAME (a header's include line names it).
const planCli = (list, name, ...args) => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'teilomat-list-'));
  const file = path.join(dir, 'liste.csv');
  fs.writeFileSync(file, list);
  spawnSync(cli, ['plan', file, '-o', path.join(dir, name), ...args]);
  const bytes = fs.readFileSync(path.join(dir, name)).toString('base64');
  fs.rmSync(dir, {recursive: true});
  return bytes;
};
// The opener beside the page, as a desktop opens it: by its path alone.
const fromOpener = async (t) => { t.found.clear(); await t.driver.navigate(new URL('kanalliste.html', url).href); };
const openList = async (t) => { await click('link Kanalliste umrechnen')(t); await check((u) => the(u, 'region Kanalliste'))(t); };
const paste = (text) => async (t) => t.driver.run((s) => {
  const area = document.getElementById('list-text');
  area.value = s;
  area.dispatchEvent(new Event('input'));
}, text);
const drop = (name, text) => async (t) => t.driver.run((n, s) => {
  const data = new DataTransfer();
  data.items.add(new File([s], n));
  document.getElementById('list-view').dispatchEvent(new DragEvent('drop', {dataTransfer: data, bubbles: true, cancelable: true}));
}, name, text);
// The table's row count and its last rows, cells split by "|", frequencies
// with the page's decimal separator.
const decimals = (row) => (language.startsWith('de') ? row : row.replace(/(\d),(\d)/g, '$1.$2'));
const rows = (count, ...last) => check(async (t) => assert.deepEqual(await t.driver.run((k) => {
  const all = [...document.querySelectorAll('#list-table tbody tr')];
  return [all.length, all.slice(-k).map((r) => [...r.cells].map((c) => c.textContent).join('|'))];
}, last.length), [count, last.map(decimals)]));
// The problem's kind and the view's own words for it: pieces of its text (none:
// no text at all), and never an option of the command line.
const problems = (kind, ...pieces) => check(async (t) => {
  const [shownKind, text] = await t.driver.run(() => {
    const alert = document.querySelector('[role=alert]:not([hidden])');
    return [alert.dataset.kind, alert.textContent];
  });
  assert.equal(shownKind, kind);
  if (pieces.length === 0) assert.equal(text, '');
  for (const piece of pieces) assert.ok(text.includes(piece), text);
  assert.ok(!text.includes('--'), text);
});
// Chooses `value` in the select labelled `name`: its combobox, or by its label where the engine gives it no role (WebKit).
const choose = (name, value) => async (t) => t.driver.run((e, n, v) => Object.assign(e ?? [...document.querySelectorAll('select')]
  .find((s) => s.labels[0].textContent === n), {value: v}).dispatchEvent(new Event('change', {bubbles: true})),
await the(t, `combobox ${name}`, true), name, value);
const downloadsDisabled = (disabled) => js(() => [...document.querySelectorAll('[data-format]')].map((b) => b.disabled),
  Array(7).fill(disabled));
// Each download's name and bytes against the command's file for the same list
// (the page's click on the download link is caught, nothing is saved).
const downloads = (list, stem, args, imageArgs = [], sketch = stem) => check(async (t) => {
  await t.driver.run(() => {
    self.caught = [];
    const blobs = new Map();
    const make = URL.createObjectURL;
    URL.createObjectURL = (blob) => { const url = make(blob); blobs.set(url, blob); return url; };
    HTMLAnchorElement.prototype.click = function () { caught.push([this.download, blobs.get(this.href)]); };
  });
  for (const [button, format, suffix, csv = []] of [['C-Header', 'c', '.h'], ['Arduino-Sketch', 'arduino', '.ino'],
    ['Intel HEX', 'ihex', '.hex'], ['Binär', 'bin', '.bin'], ['CSV', 'csv', '-plan.csv'],
    ['CSV (Excel, deutsch)', 'csv', '-plan-excel.csv', ['--csv', 'de']], ['JSON', 'json', '.json']]) {
    await click(`button ${button}`)(t);
    const [name, bytes] = await t.driver.run(async () => { const [n, b] = caught.pop();
      return [n, btoa(String.fromCharCode(...new Uint8Array(await b.arrayBuffer())))]; });
    const image = ['ihex', 'bin'].includes(format) ? imageArgs : [];
    const file = (format === 'arduino' ? sketch : stem) + suffix;
    assert.deepEqual([name, bytes], [file, planCli(list, file, '--format', format, ...csv, ...args, ...image)], button);
  }
});

const DEFAULTS = {'RX (MHz)': n('145,675'), 'VCO (KHz)': '156375', DB0: '223', DB1: '48', DB2: '160'};
const NO_NUMBER = 'Ungültige Zahl bei RX (MHz).';

// One row per case: its name, the view it needs (see engines.mjs), its steps.
const CASES = [
  ['the defaults, in the browser\'s language', {}, js(() => navigator.language, language), values(DEFAULTS),
    values({'ZF (MHz)': n('10,7'), 'Raster (kHz)': '25,000'}), ticked('checkbox BIT 0 CP (charge Pump)', true),
    ticked('checkbox AM/FM', false)],
  ['title, icon as data, nothing fetched', {}, js(() => [document.title, document.querySelector('link[rel=icon]').href
    .slice(0, 22), performance.getEntriesByType('resource').length], ['PLL mit TSA6057', 'data:image/png;base64,', 0])],
  ['145,68 is pulled onto the 25 kHz grid', {}, calc(n('145,68')), values(DEFAULTS)],
  ['145,6625 rounds down to 145,65', {}, calc(n('145,6625')), values({'RX (MHz)': n('145,65'), 'VCO (KHz)': '156350'})],
  ['AM/FM and CP wait for Berechnen', {}, click('checkbox AM/FM'), click('checkbox BIT 0 CP (charge Pump)'), values(DEFAULTS),
    calc(), values({DB0: '222', DB1: '48', DB2: '144'})],
  ['typed raster text chooses nothing', {}, enter('Raster (kHz)', ' 1,000'), calc(), unchanged()],
  ['Alt+Down opens the raster list', {}, click('combobox Raster (kHz)'), keys('Alt+ArrowDown'),
    is('combobox Raster (kHz)', (e) => e.getAttribute('aria-expanded'), 'true'), options(' 1,000', '10,000', '25,000')],
  ['" 1,000" chosen: too large', {}, click('combobox Raster (kHz)'), keys('ArrowDown', 'ArrowUp', 'ArrowUp', 'Enter'),
    values({'Raster (kHz)': ' 1,000'}), unchanged(), calc(), message('Teilerverhältnis zu gross! (max 131071)', 'stop'),
    click('button OK'), noMessage, unchanged()],
  ['Enter closes a message', {keyClicks: true}, calc('-20'), keys('Enter'), noMessage],
  ['-20: too small, Escape closes', {}, calc('-20'), message('Teilerverhältnis zu klein! (min 0)', 'stop'), keys('Escape'),
    noMessage, unchanged('RX (MHz)')],
  ['"abc" warns; OK selects the field', {}, calc('abc'), message(NO_NUMBER, 'warning'), click('button OK'), noMessage,
    focused('textbox RX (MHz)'), is('textbox RX (MHz)', (e) => [e.value, e.selectionStart, e.selectionEnd], ['abc', 0, 3])],
  ['the page behind a message is out of reach', {}, calc('abc'), absent('button Berechnen'), poke('button Berechnen'),
    message(NO_NUMBER, 'warning')],
  ['Tab order', {}, focused('button Berechnen'), tabOrder('textbox RX (MHz)', 'textbox ZF (MHz)', 'combobox Raster (kHz)',
    'checkbox BIT 0 CP (charge Pump)', 'checkbox AM/FM'), keys('Shift+Tab'), focused('checkbox BIT 0 CP (charge Pump)')],
  // Tab leaves the form for the link below it, outside the design.
  ['Tab from AM/FM stops nowhere else in the form', {}, click('checkbox AM/FM'), keys('Tab'), focused('link Kanalliste umrechnen')],
  ['contrast, light', {}, contrast('VCO (KHz)', 'DB0', 'RX (MHz)')],
  ['contrast, dark', {dark: true}, contrast('VCO (KHz)', 'DB0', 'RX (MHz)')],
  ['layout at 100 %', {}, layout(400)],
  ['layout at 200 %', {width: 640, scale: 2}, layout(400)],
  ['layout 360 px wide', {width: 360}, layout(360)],
  ['Ende with its access key ends the page in place', {}, again, keys('AccessKey+e'),
    js(() => document.body.innerText.includes('Teilomat ist beendet.'), true), click('link Neu starten'), loaded, values(DEFAULTS)],
  ['Ende closes a tab that a script opened', {}, closes(click('menuitem Ende'))],
  // Alt+E is the page's own, whatever chord the engine's access keys take.
  ['Alt+E ends the page in every engine', {}, again,
    js(() => document.getElementById('mnuFile').getAttribute('aria-keyshortcuts'), 'Alt+E'), keys('Alt+e'),
    js(() => document.body.innerText.includes('Teilomat ist beendet.'), true)],
  // Nothing reaches the window behind a message: not "Ende", and a box
  // clicked by script stays as the state is (DB2 160, not 144).
  ['a message holds off Alt+E and a scripted AM/FM click', {}, calc('-20'), message('Teilerverhältnis zu klein! (min 0)', 'stop'),
    keys('Alt+e'), js(() => { const box = document.getElementById('TSA_AMFM'); box.click(); return box.checked; }, false),
    keys('Escape'), noMessage, calc(n('145,675')), values(DEFAULTS)],
  ['results announced after a Berechnen that computes', {}, announced(''), calc('-20'), keys('Escape'), announced(''),
    calc(n('145,68')), announced(n('RX 145,675 MHz, VCO 156375 kHz, DB0 223, DB1 48, DB2 160'))],
  ['names, roles and the severity of a message', {}, named('main Teilomat'), named('heading Teilomat'),
    click('button Rasterliste öffnen'), named('listbox Raster (kHz)'), named('option 1,000'),
    calc('-20'), described('Fehler'), keys('Escape'), calc('abc'), described('Warnung')],
  ['a 393 px touch screen', {width: 393, height: 852, mobile: true}, layout(393),
    click('button Rasterliste öffnen'), touch(true, true)],
  ['a 393 px touch screen: the form fills the width, the title over the fields', {width: 393, height: 852, mobile: true},
    layout(393), fills(0.8)],
  ['without wasm-unsafe-eval: a line says so, controls disabled', {}, withoutWasm,
    js(() => [document.getElementById('failure').checkVisibility(), document.getElementById('failure').textContent.includes('WebAssembly'),
      [...document.querySelectorAll('main input, main button')].every((e) => e.disabled)], [true, true, true])],
  ['channel list: kanalliste.html opens the view', {}, fromOpener, check((t) => the(t, 'region Kanalliste')),
    focused('heading Kanalliste'), js(() => [location.pathname.endsWith('/teilomat.html'), location.hash], [true, '#kanalliste'])],
  ['channel list: the worked example, Back returns to the form', {skipWithoutCli: true}, openList, paste(EXAMPLE), problems(''),
    rows(3, '1|Relais DB0XY|145,6|145|6252|217|48|160||5800|81|45|160|', '2|S20|145,5|145,5|6248|209|48|160||5820|121|45|160|',
      '4|Hören, nur|145,525||6249|211|48|160||||||'), downloadsDisabled(false), async (t) => { await t.driver.run(() => { history.back(); }); },
    values(DEFAULTS), focused('link Kanalliste umrechnen')],
  ['channel list: off the raster in the view\'s words, no downloads', {}, openList, paste(OFF_RASTER),
    problems('offRaster', 'Kanal 5 „S12“: TX 145.6125 MHz, nächste Kanäle 145.6 und 145.625 MHz\nKein Raster', 'Neben dem Raster runden'),
    downloadsDisabled(true)],
  // 156.301 MHz lies on 1 kHz only, where N is 156301; 4010.7 MHz is beyond every raster.
  ['channel list: a grid that fits only where a divider is too large', {}, openList, paste('name,rx_mhz\nA,145.601\n'),
    problems('offRaster', 'Nur mit „Raster (kHz)“ 1 liegen alle Kanäle im Raster, dort ist aber ein Teilerverhältnis zu gross')],
  ['channel list: beyond the limit, which raster reaches it', {}, openList, paste('name,rx_mhz\nA,4000\n'),
    problems('dividerLimit', 'Teilerverhältnis zu gross! (max 131071)', 'Mit keinem „Raster (kHz)“ liegt das Teilerverhältnis')],
  ['channel list: rounded, with the deviation', {}, openList, paste(OFF_RASTER), click('checkbox Neben dem Raster runden'),
    problems('', 'Neben dem Raster gerundet', 'Kanal 5 „S12“: RX 145.6125 MHz -> 145.6 MHz'), downloadsDisabled(false), rows(4, '5|S12|145,6|145,6|6252|217|48|160|-12500|5824|129|45|160|-12500')],
  ['channel list: ";" and decimal commas', {}, openList, paste('name;rx_mhz;tx_mhz\nA;145,6;145,0\nB;433,5;\n'),
    rows(2, '0|A|145,6|145|6252|217|48|160||5800|81|45|160|', '1|B|433,5||17768|209|138|160||||||')],
  ['channel list: downloads are the command\'s files, nothing fetched', {skipWithoutCli: true}, openList, drop('Kanäle (2).csv', EXAMPLE),
    enter('Name im C-Header', 'funk'), enter('Basisadresse', '0x100'),
    downloads(EXAMPLE, 'Kanäle (2)', ['--name', 'funk'], ['--base', '0x100'], 'Kan_le__2_'),
    js(() => performance.getEntriesByType('resource').length, 0)],
  ['channel list: pasted text is "kanalliste", RX only', {skipWithoutCli: true}, openList, paste(EXAMPLE),
    click('checkbox Nur RX'), downloads(EXAMPLE, 'kanalliste', ['--rx-only'])],
  ['channel list: the second I²C address in every download', {skipWithoutCli: true}, openList, paste(EXAMPLE),
    choose('I²C-Adresse', '0xC6'), downloads(EXAMPLE, 'kanalliste', ['--address', '0xC6'])],
  ['channel list: keyboard path and names', {}, openList, focused('heading Kanalliste'), tabOrder('link Zurück zum Rechner'), keys('Tab', 'Tab'),
    // (WebKit gives a <select> no role of its own: the raster is found by its label.)
    focused('textbox CSV-Text'), tabOrder('textbox ZF (MHz)', 'textbox TX-ZF (MHz)'), keys('Tab'),
    js(() => document.activeElement.labels[0].textContent, 'Raster (kHz)'), tabOrder('checkbox BIT 0 CP (charge Pump)',
      'checkbox AM/FM', 'checkbox Neben dem Raster runden', 'textbox Name im C-Header', 'textbox Basisadresse', 'checkbox Nur RX'),
    keys('Tab'), js(() => document.activeElement.labels[0].textContent, 'I²C-Adresse'),
    keys('Tab'), js(() => document.activeElement.getAttribute('aria-labelledby'), 'list-caption'),
    js(() => [...document.querySelectorAll('#list-table th')].every((h) => h.scope), true), named('table Plan: 0 Kanäle')],
  ['channel list: a 393 px phone scrolls the table in its box', {width: 393, height: 852, mobile: true}, openList, paste(EXAMPLE),
    js(() => [document.documentElement.scrollWidth <= innerWidth, document.querySelector('.table-box').scrollWidth > 393,
      Math.min(...[...document.querySelectorAll('#list-view :is(a, button, input:not([type=checkbox]), select, .fields label)')]
        .map((e) => e.getBoundingClientRect()).filter((r) => r.width).map((r) => Math.min(r.width, r.height))) >= 24], [true, true, true])],
];

const why = await unavailable(engine);
if (why) console.log(`SKIPPED: no ${engine} for the page tests (${why}); ./build.sh web installs it`);
if (why) process.exit(process.env.TEILOMAT_BROWSER_REQUIRED ? 1 : 77);
let driver;
before(async () => { driver = await launch(engine, language); });
after(() => driver?.quit());
for (const [name, view, ...steps] of CASES) {
  const noCli = view.skipWithoutCli && !process.env.TEILOMAT_BROWSER_REQUIRED && !fs.existsSync(cli ?? '') &&
    'no teilomat-cli for this machine (./build.sh test builds it)';
  test(name, {skip: cannotShow(engine, view) ?? noCli}, async () => {
    const t = {driver, view, found: new Map()};
    await driver.open(url, view);
    if (steps.some((step) => step.needsInitial)) t.initial = await results(t);
    for (const step of steps) await step(t);
    assert.deepEqual(driver.errors.splice(0), [], 'errors in the page');
  });
}
