// Teilomat in the browser: the page's window, loaded once the WebAssembly
// runs, and the functions through which the page's script hands it events.
#include <emscripten/emscripten.h>

#include "window/web/PageWindow.h"

namespace {

PageWindow* page = nullptr;

}  // namespace

extern "C" {

/// A control of the design, by its design::Id, was clicked or toggled.
EMSCRIPTEN_KEEPALIVE void teilomat_notify(int id) {
  if (id >= 0 && id < static_cast<int>(teilomat::design::kControlCount))
    page->Notify(static_cast<teilomat::design::Id>(id));
}

/// The user chose an entry of the raster list.
EMSCRIPTEN_KEEPALIVE void teilomat_choose(int index) {
  page->ChooseRaster(index);
}

/// The user chose "&Ende".
EMSCRIPTEN_KEEPALIVE void teilomat_end() {
  page->End();
}
}

int main() {
  // The window lives as long as the page; main returns to the browser.
  static PageWindow window;
  page = &window;
  window.Load();
  return 0;
}
