// A picture of the page in one engine and view, with German as the
// preferred language:
//
//   node screenshot.mjs PAGE FILE [ENGINE] [VIEW]
//
// ENGINE: chromium (the default), firefox or webkit. VIEW: light (the
// default), dark, zoom (200 %) or phone (a touch screen of 393 by 852 CSS
// pixels, as a mobile browser shows the page; in Chromium).
import {pathToFileURL} from 'node:url';
import {ENGINES, TRAITS, cannotShow, launch} from './engines.mjs';

const VIEWS = {
  light: {width: 420, height: 440},
  dark: {width: 420, height: 440, dark: true},
  zoom: {width: 640, height: 440, scale: 2},
  phone: {width: 393, height: 852, mobile: true},
};

const [page, file, engine = 'chromium', name = 'light'] = process.argv.slice(2);
// A window that cannot be as narrow as the view is as narrow as it can be.
const narrowest = TRAITS[engine]?.narrowest ?? 0;
const view = VIEWS[name] && {...VIEWS[name], width: Math.max(VIEWS[name].width, narrowest)};
if (!page || !file || !ENGINES.includes(engine) || !view) {
  console.error(`usage: screenshot.mjs PAGE FILE [${ENGINES.join('|')}] [${Object.keys(VIEWS).join('|')}]`);
  process.exit(2);
}
const why = cannotShow(engine, view);
if (why) {
  console.error(`${engine} cannot show the ${name} view: ${why}`);
  process.exit(1);
}
const driver = await launch(engine, 'de-DE');
try {
  await driver.open(pathToFileURL(page).href, view);
  await driver.screenshot(file);
} finally {
  await driver.quit();
}
console.log(file);
