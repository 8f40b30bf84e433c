// A picture of the page in one engine and view, with German as the
// preferred language:
//
//   node screenshot.mjs PAGE FILE [ENGINE] [VIEW]
//
// ENGINE: chromium (the default), firefox or webkit. VIEW: light (the
// default), dark, zoom (200 %), phone and phone-dark (a touch screen of 393
// by 852 CSS pixels, as a mobile browser shows the page; in Chromium); list, list-dark,
// list-phone and list-phone-dark: the channel-list view with the README's
// worked example.
import {pathToFileURL} from 'node:url';
import {ENGINES, TRAITS, cannotShow, launch} from './engines.mjs';

const VIEWS = {
  light: {width: 420, height: 440},
  dark: {width: 420, height: 440, dark: true},
  zoom: {width: 640, height: 440, scale: 2},
  phone: {width: 393, height: 852, mobile: true},
  'phone-dark': {width: 393, height: 852, mobile: true, dark: true},
  list: {width: 900, height: 760, list: true},
  'list-dark': {width: 900, height: 760, dark: true, list: true},
  'list-phone': {width: 393, height: 852, mobile: true, list: true},
  'list-phone-dark': {width: 393, height: 852, mobile: true, dark: true, list: true},
};
const EXAMPLE = `Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Comment
1,Relais DB0XY,145.600000,-,0.600000,Tone,88.5,88.5,023,NN,FM,12.50,,
2,S20,145.500000,,0.000000,,88.5,88.5,023,NN,FM,12.50,,
4,"Hören, nur",145.525000,off,0.000000,,88.5,88.5,023,NN,NFM,12.50,,
`;

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
  if (view.list) {
    await driver.run((text) => new Promise((resolve) => {
      location.hash = 'kanalliste';
      setTimeout(() => {
        const area = document.getElementById('list-text');
        area.value = text;
        area.dispatchEvent(new Event('input'));
        document.activeElement.blur();
        requestAnimationFrame(() => setTimeout(resolve));
      }, 100);
    }), EXAMPLE);
  }
  await driver.screenshot(file);
} finally {
  await driver.quit();
}
console.log(file);
