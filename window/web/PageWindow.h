// Form1 in the browser: the page's controls, made in the DOM from the design
// table, and the wiring of their events to the handlers of Form1.
#pragma once

#include <emscripten/val.h>

#include <vector>

#include "window/Form1.h"
#include "window/Form1Design.h"
#include "window/FormControls.h"

/// The window as a page. Each control is a DOM element whose id is its design
/// name, written into the page at build time (PageMarkup.cpp) with the first
/// results in it; the window takes these elements over. Events reach the
/// handlers through the functions exported in main.cpp; the page's script
/// (page.js) only forwards them, one at a time.
class PageWindow : private teilomat::FormControls {
 public:
  PageWindow();

  /// Start-up: the handlers' Form_Load, then the focus on "Berechnen".
  void Load();
  /// A control of the design was clicked or toggled. After a "Berechnen"
  /// that shows results, the page's live region announces them.
  void Notify(teilomat::design::Id id);
  /// The user chose entry `index` of the raster list.
  void ChooseRaster(int index) { SetRasterIndex(index); }
  /// "&Ende" was chosen.
  void End() { form_.mnuFile_Click(); }

 private:
  void AnnounceResults();

  emscripten::val& Element(teilomat::design::Id id) {
    return elements_[static_cast<std::size_t>(id)];
  }
  const emscripten::val& Element(teilomat::design::Id id) const {
    return elements_[static_cast<std::size_t>(id)];
  }

  // FormControls, over the DOM.
  std::string Text(teilomat::TextBox box) const override;
  void SetText(teilomat::TextBox box, std::string_view text) override;
  void AddRasterEntry(std::string_view text) override;
  int RasterIndex() const override { return rasterIndex_; }
  void SetRasterIndex(int index) override;
  bool Ticked(teilomat::CheckBox box) const override;
  void ShowMessage(teilomat::MessageIcon icon, std::string_view text) override;
  void FocusAndSelectAll(teilomat::TextBox box) override;
  tuning::Separators LocaleSeparators() const override { return separators_; }
  void Unload() override;

  std::vector<emscripten::val> elements_;  // by design::Id
  emscripten::val rasterList_ = emscripten::val::undefined();
  int rasterEntries_ = 0;
  int rasterIndex_ = -1;
  bool rxWritten_ = false;  // the RX field was rewritten: a calculation succeeded
  tuning::Separators separators_;
  teilomat::Form1 form_{*this};
};
