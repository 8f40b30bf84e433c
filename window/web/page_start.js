// How the runtime starts: it gets its module straight from the bytes the
// page holds as inert data, instead of fetching a file or a data: URI,
// which the page's policy forbids. Where WebAssembly cannot start (no
// WebAssembly at all, or a policy without 'wasm-unsafe-eval'), the page says
// so and disables its controls.

// What waits for the WebAssembly to run, told when it cannot.
const startFailed = [];

function pageCannotStart() {
  startFailed.forEach((reject) => reject());
  document.getElementById('failure').hidden = false;
  document.querySelectorAll('#window input, #window button').forEach((control) => {
    control.disabled = true;
  });
}

// The bytes of the page's inert data: base64 of gzip-compressed bytes. The
// data stand after the scripts, so they may still be on their way.
async function unpacked(id) {
  if (document.readyState === 'loading') {
    await new Promise((resolve) => document.addEventListener('DOMContentLoaded', resolve, {once: true}));
  }
  const packed = Uint8Array.from(atob(document.getElementById(id).textContent), (c) => c.charCodeAt(0));
  // A stream of the bytes themselves: a Blob's would be read through the browser.
  const bytes = new ReadableStream({start(stream) { stream.enqueue(packed); stream.close(); }});
  return new Response(bytes.pipeThrough(new DecompressionStream('gzip'))).arrayBuffer();
}

Module['onAbort'] = pageCannotStart;
// The module starts once the first frame, which already shows the results,
// is painted (or after 100 ms, where a hidden tab paints none).
Module['instantiateWasm'] = (imports, receiveInstance) => {
  let started = false;
  const start = () => {
    if (started) return;
    started = true;
    // Engines refuse a forbidden module by rejecting, or by throwing at once.
    new Promise((resolve) => resolve(unpacked('form-module')))
        .then((bytes) => WebAssembly.instantiate(bytes, imports))
        .then((result) => receiveInstance(result.instance), pageCannotStart);
  };
  requestAnimationFrame(() => setTimeout(start));
  setTimeout(start, 100);
  return {};
};
