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
Module['instantiateWasm'] = (imports, receiveInstance) => {
  // Engines refuse a forbidden module by rejecting, or by throwing at once.
  new Promise((resolve) => resolve(WebAssembly.instantiate(tryParseAsDataURI(wasmBinaryFile), imports)))
      .then((result) => receiveInstance(result.instance), pageCannotStart);
  return {};
};
