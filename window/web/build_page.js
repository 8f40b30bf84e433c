// Build steps of the page, run by node:
//
//   node build_page.js shell TEMPLATE OUT GENERATOR NOTICE...
//       The page template with the form (the markup GENERATOR writes, run
//       under this node) and the notices, as one HTML comment at its end.
//   node build_page.js seal PAGE VIEW_JS VIEW_WASM
//       Moves the form's WebAssembly out of the page's script, and writes it
//       and the channel-list view's module (its script and its WebAssembly,
//       which the page runs when the view is first opened) into the page as
//       inert data; then the hashes of the page's scripts and of the view's
//       into its Content-Security-Policy, which lets no other script run.
'use strict';
const crypto = require('crypto');
const fs = require('fs');
const zlib = require('zlib');
const {execFileSync} = require('child_process');

const [command, ...args] = process.argv.slice(2);
if (command === 'shell') {
  const [template, out, generator, ...notices] = args;
  const form = execFileSync(process.execPath, ['--no-experimental-fetch', generator],
                            {encoding: 'utf8'});
  // A comment ends at the first "--" followed by ">": none may stand inside.
  const text = notices.map((file) => fs.readFileSync(file, 'utf8').replace(/--/g, '- -'))
      .join('\n\n');
  const page = fs.readFileSync(template, 'utf8')
      .replace('<!-- FORM -->', () => form.trim())
      .replace('<!-- NOTICES -->', () => `<!--\n${text}\n-->`);
  fs.writeFileSync(out, page);
} else if (command === 'seal') {
  const [file, viewCode, viewModule] = args;
  // The WebAssembly of the form (which the linker wrote into the script, in
  // base64) and the channel-list view's script and WebAssembly: inert data,
  // each gzip-compressed in base64, which gzip-compresses the page to about
  // two thirds; the form's script becomes small enough to stand before its
  // first paint at little cost.
  const embedded = /wasmBinaryFile="data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)"/;
  let page = fs.readFileSync(file, 'utf8');
  const form = page.match(embedded);
  if (!form) throw new Error(`${file}: no WebAssembly in its script`);
  page = page.replace(embedded, 'wasmBinaryFile=""');
  const code = fs.readFileSync(viewCode, 'utf8');
  const packed = (bytes) => zlib.gzipSync(bytes, {level: 9}).toString('base64');
  const inert = (id, bytes) => `<script type="application/octet-stream" id="${id}">${packed(bytes)}</script>`;
  page = page.replace('<!-- MODULES -->', () => [
    inert('form-module', Buffer.from(form[1], 'base64')),
    inert('plan-view-code', Buffer.from(code, 'utf8')),
    inert('plan-view-module', fs.readFileSync(viewModule))].join('\n'));
  const hash = (text) => `'sha256-${crypto.createHash('sha256').update(text, 'utf8').digest('base64')}'`;
  const hashes = [...page.matchAll(/<script>([\s\S]*?)<\/script>/g)].map((match) => hash(match[1]));
  if (!page.includes('%SCRIPT_HASHES%') || !page.includes('id="form-module"') || hashes.length === 0) {
    throw new Error(`${file}: no policy to seal, no place for the modules, or no script`);
  }
  fs.writeFileSync(file, page.replace('%SCRIPT_HASHES%', [...hashes, hash(code)].join(' ')));
} else {
  throw new Error(`unknown step ${command}`);
}
