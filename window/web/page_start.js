// How the runtime starts: it gets its module straight from the bytes the
// page holds, instead of fetching its own data: URI, which the page's policy
// forbids. Where WebAssembly cannot start (no WebAssembly at all, or a policy
// without 'wasm-unsafe-eval'), the page says so and disables its controls.

function pageCannotStart() {
  document.getElementById('failure').hidden = false;
  document.querySelectorAll('#window input, #window button').forEach((control) => {
    control.disabled = true;
  });
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
    new Promise((resolve) => resolve(WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports)))
        .then((result) => receiveInstance(result.instance), pageCannotStart);
  };
  requestAnimationFrame(() => setTimeout(start));
  setTimeout(start, 100);
  return {};
};
