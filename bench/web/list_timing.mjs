// node bench/web/list_timing.mjs [chromium|firefox|webkit] [PAGE]: times the
// channel-list view with a 10 000-channel CHIRP export, made as
// bench/cli_plan.sh makes it: from the file handed to the view (dropped onto
// it) to the table painted, and each download from the click to the file
// handed to the browser. Targets: under 1 s and under 200 ms in headless
// Chromium. Measured in the page (performance.now), the median of 5 runs.
// In Chromium the downloads are really saved, under the page's policy, and
// their sizes are checked.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {launch} from '../../scripts/web/engines.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const [engine = 'chromium', page = path.join(here, '../../build/web/teilomat.html')] = process.argv.slice(2);
const RUNS = 5;

// 10 000 channels on the 25 kHz grid from 144 MHz, every Duplex value in
// turn, quoted names with commas, CR LF line ends, the columns CHIRP writes.
const duplex = ['', '+', '-', 'split', 'off'];
let list = 'Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n';
for (let i = 0; i < 10000; i++) {
  const d = duplex[i % 5];
  const offset = d === 'split' ? (430 + (i % 400) * 0.025).toFixed(6) : '0.600000';
  list += `${i},"Kanal ${i}, Relais",${(144 + (i % 2000) * 0.025).toFixed(6)},${d},${offset},Tone,88.5,88.5,023,NN,FM,25.00,,,,,,\r\n`;
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const driver = await launch(engine, 'de-DE');
const saved = fs.mkdtempSync(path.join(os.tmpdir(), 'teilomat-downloads-'));
try {
  if (driver.page && engine === 'chromium') {
    const session = await driver.page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: saved});
  }
  const shown = [];
  const downloads = {};
  for (let run = 0; run < RUNS; run++) {
    // A fresh page each run (an address that differs only in its "#..." is not loaded again).
    await driver.open(pathToFileURL(page).href, {width: 1280, height: 800});
    await driver.run(() => { location.hash = 'kanalliste'; });
    while (!await driver.run(() => Boolean(document.getElementById('list-view')?.checkVisibility()))) {
      await new Promise((resolve) => setTimeout(resolve, 20));
    }
    shown.push(await driver.run((text) => new Promise((resolve) => {
      const file = new File([text], 'kanaele.csv');
      const data = new DataTransfer();
      data.items.add(file);
      const start = performance.now();
      document.getElementById('list-view').dispatchEvent(new DragEvent('drop', {dataTransfer: data, bubbles: true, cancelable: true}));
      const caption = document.getElementById('list-caption');
      // The table is in the page; the next frame shows it.
      const wait = () => (caption.textContent.includes('10000')
        ? requestAnimationFrame(() => setTimeout(() => resolve(performance.now() - start)))
        : requestAnimationFrame(wait));
      wait();
    }), list));
    // Elsewhere than in Chromium the files would land in the user's
    // downloads: there the link's click is timed, not made.
    const times = await driver.run((save) => {
      const click = save ? HTMLAnchorElement.prototype.click : () => {};
      const result = {};
      for (const button of document.querySelectorAll('[data-format]')) {
        const start = performance.now();
        let end = 0;
        HTMLAnchorElement.prototype.click = function () {
          end = performance.now();
          click.call(this);
        };
        button.click();
        result[button.textContent] = end - start;
      }
      return result;
    }, engine === 'chromium');
    for (const [name, ms] of Object.entries(times)) (downloads[name] ??= []).push(ms);
  }
  console.log(`${engine}: file to table shown ${median(shown).toFixed(0)} ms (runs: ${shown.map((ms) => ms.toFixed(0)).join(', ')})`);
  for (const [name, times] of Object.entries(downloads)) console.log(`  download ${name}: ${median(times).toFixed(1)} ms`);
  await new Promise((resolve) => setTimeout(resolve, 1500));
  const files = fs.readdirSync(saved);
  if (files.length) console.log(`  saved under the page's policy: ${files.map((f) => `${f} (${fs.statSync(path.join(saved, f)).size} bytes)`).join(', ')}`);
  if (driver.errors.length) console.log('  errors in the page:', driver.errors);
} finally {
  await driver.quit();
  fs.rmSync(saved, {recursive: true, force: true});
}
