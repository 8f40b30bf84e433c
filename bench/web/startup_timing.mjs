// node bench/web/startup_timing.mjs [chromium|firefox|webkit] [PAGE] [RUNS]:
// the page's start-up against a static copy of it (the same markup, no
// script), as `page_timing.py startup` times it in Chromium, in any of the
// three engines. Prints RUNS lines (21 unless told) "static painted ready":
// the seconds from navigation to the first frame painted with "156375" in the
// VCO field, in the static copy and in the page, and to the page's handlers
// being ready (its mark "teilomat-shown"). The two load in turns, after three
// of each to warm up; report_turns (scripts/startup_turns.sh) sums the lines
// up. The probe that watches the frames runs before any script of the page:
// in Chromium and Firefox as a preload script; WebKitWebDriver cannot run
// one, so there it is written into both copies as their first script, and
// the page's Content-Security-Policy, which would refuse it, is taken out of
// both. Firefox and WebKit give the times to the millisecond.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {launch} from '../../scripts/web/engines.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const [engine = 'chromium', page = path.join(here, '../../build/web/teilomat.html'), runs = '21'] =
  process.argv.slice(2);

// The page's markup as loaded, with its fields' values and no script.
const STATIC_COPY = () => {
  document.querySelectorAll('input').forEach((e) => {
    e.setAttribute('value', e.value);
    if (e.checked) e.setAttribute('checked', '');
  });
  document.querySelectorAll('script').forEach((e) => e.remove());
  return '<!doctype html>' + document.documentElement.outerHTML;
};
// Looks at every frame from the first on; the task queued in the frame that
// first holds the results runs once that frame is painted.
const PROBE = `(() => {
  const look = () => {
    const vco = document.getElementById('tVCO');
    if (vco && vco.value === '156375') setTimeout(() => performance.mark('probe-painted'));
    else requestAnimationFrame(look);
  };
  requestAnimationFrame(look);
})();`;
const PAINTED = () => performance.getEntriesByName('probe-painted')[0]?.startTime;
const READY = () => performance.getEntriesByName('teilomat-shown')[0]?.startTime;

// The probe as the first script of `html`, without the page's policy.
function withProbe(html) {
  const policy = /<meta http-equiv="Content-Security-Policy"[^>]*>/;
  const charset = '<meta charset="utf-8">';
  if (!policy.test(html) || !html.includes(charset)) throw new Error('unexpected head in the page');
  return html.replace(policy, '').replace(charset, `${charset}<script>${PROBE}</script>`);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const driver = await launch(engine, 'de-DE');
const copies = fs.mkdtempSync(path.join(os.tmpdir(), 'teilomat-startup-'));
try {
  await driver.open(pathToFileURL(path.resolve(page)).href, {width: 800, height: 600});
  let [staticHtml, pageHtml] = [await driver.run(STATIC_COPY), fs.readFileSync(page, 'utf8')];
  if (driver.page) await driver.page.evaluateOnNewDocument(PROBE);
  else [staticHtml, pageHtml] = [withProbe(staticHtml), withProbe(pageHtml)];
  const [staticUrl, pageUrl] = [['static.html', staticHtml], ['page.html', pageHtml]].map(([name, html]) => {
    fs.writeFileSync(path.join(copies, name), html);
    return pathToFileURL(path.join(copies, name)).href;
  });

  // Loads url (the driver's own navigate would wait for handlers that the
  // static copy has not) and gives the seconds that each of `marks` took.
  async function load(url, ...marks) {
    if (driver.page) await driver.page.goto(url);
    else await driver.command('POST', '/url', {url});
    const seconds = [];
    for (const mark of marks) {
      for (const end = Date.now() + 20000; ; await sleep(10)) {
        const ms = await driver.run(mark);
        if (ms) { seconds.push(ms / 1000); break; }
        if (Date.now() > end) throw new Error(`no mark in ${url}`);
      }
    }
    return seconds;
  }

  for (let i = 0; i < 3; i++) await load(staticUrl, PAINTED).then(() => load(pageUrl, PAINTED, READY));
  for (let run = 0; run < Number(runs); run++) {
    let s, t, r;
    if (run % 2) {
      [t, r] = await load(pageUrl, PAINTED, READY);
      [s] = await load(staticUrl, PAINTED);
    } else {
      [s] = await load(staticUrl, PAINTED);
      [t, r] = await load(pageUrl, PAINTED, READY);
    }
    console.log(`${s.toFixed(6)} ${t.toFixed(6)} ${r.toFixed(6)}`);
  }
  if (driver.errors.length) console.error('errors in the page:', driver.errors);
} finally {
  await driver.quit();
  fs.rmSync(copies, {recursive: true, force: true});
}
