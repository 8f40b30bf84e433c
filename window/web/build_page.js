// Build steps of the page, run by node:
//
//   node build_page.js shell TEMPLATE OUT GENERATOR NOTICE...
//       The page template with the form (the markup GENERATOR writes, run
//       under this node) and the notices, as one HTML comment at its end.
//   node build_page.js seal PAGE
//       Moves the WebAssembly out of the page's script into the page as
//       inert data, then writes the hashes of the page's scripts into its
//       Content-Security-Policy, which lets no other script run.
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
  const [file] = args;
  // The WebAssembly (which the linker wrote into the script, in base64):
  // inert data after the scripts, gzip-compressed in base64, so that the
  // script before the first paint is small and the page gzip-compresses as
  // well as with it inside.
  const embedded = /wasmBinaryFile="data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)"/;
  let page = fs.readFileSync(file, 'utf8');
  const module = page.match(embedded);
  if (!module) throw new Error(`${file}: no WebAssembly in its script`);
  page = page.replace(embedded, 'wasmBinaryFile=""');
  const packed = zlib.gzipSync(Buffer.from(module[1], 'base64'), {level: 9}).toString('base64');
  page = page.replace('<!-- MODULES -->',
                      () => `<script type="application/octet-stream" id="form-module">${packed}</script>`);
  const hashes = [...page.matchAll(/<script>([\s\S]*?)<\/script>/g)].map((match) =>
    `'sha256-${crypto.createHash('sha256').update(match[1], 'utf8').digest('base64')}'`);
  if (!page.includes('%SCRIPT_HASHES%') || !page.includes('id="form-module"') || hashes.length === 0) {
    throw new Error(`${file}: no policy to seal, no place for the module, or no script`);
  }
  fs.writeFileSync(file, page.replace('%SCRIPT_HASHES%', hashes.join(' ')));
} else {
  throw new Error(`unknown step ${command}`);
}
