#include "window/web/PageWindow.h"

#include <emscripten/emscripten.h>

#include <string>

// Opens the page's message dialog and waits until it is closed: the handler
// that called it is suspended meanwhile (Asyncify) and goes on afterwards.
// (JavaScript bodies: clang-format would break their operators.)
// clang-format off
EM_ASYNC_JS(void, ShowMessageDialog, (int critical, const char* caption, const char* text), {
  await showMessage(critical !== 0, UTF8ToString(caption), UTF8ToString(text));
});

// Closes the page, or where the browser refuses that, ends it in place.
EM_JS(void, EndPage, (), { endPage(); });
// clang-format on

namespace {

namespace design = teilomat::design;
using emscripten::val;

void SetAttribute(const val& element, const char* name, const std::string& value) {
  element.call<void>("setAttribute", val(name), value);
}

}  // namespace

PageWindow::PageWindow() {
  val document = val::global("document");
  elements_.reserve(design::kControlCount);
  for (const design::Control& row : design::kControls) {
    elements_.push_back(document.call<val>("getElementById", std::string(row.name)));
  }
  // The list stands empty in the page: Form_Load fills it.
  rasterList_ = document.call<val>("getElementById",
                                   std::string(design::Row(design::Id::ChRaster).name) + "-list");

  // The separators of the browser's preferred language, as the page's first
  // script found them before it put them into the numbers.
  val separators = val::global("pageSeparators");
  separators_.decimal = separators["decimal"].as<std::string>();
  separators_.grouping = separators["grouping"].as<std::string>();
}

void PageWindow::Load() {
  // "Berechnen" has had the focus since the page was parsed (autofocus).
  form_.Form_Load();
}

void PageWindow::Notify(design::Id id) {
  switch (id) {
    case design::Id::Command1:
      rxWritten_ = false;
      form_.Command1_Click();
      if (rxWritten_) AnnounceResults();
      break;
    case design::Id::bitcp:
      form_.bitcp_Click();
      break;
    case design::Id::TSA_AMFM:
      form_.TSA_AMFM_Click();
      break;
    default:
      break;
  }
}

std::string PageWindow::Text(teilomat::TextBox box) const {
  return Element(design::IdOf(box))["value"].as<std::string>();
}

void PageWindow::SetText(teilomat::TextBox box, std::string_view text) {
  Element(design::IdOf(box)).set("value", std::string(text));
  if (box == teilomat::TextBox::tfo) rxWritten_ = true;
}

void PageWindow::AnnounceResults() {
  // Each caption with its field, as "RX 145,675 MHz": the caption's name and
  // its unit in brackets.
  std::string sentence;
  for (teilomat::TextBox box :
       {teilomat::TextBox::tfo, teilomat::TextBox::tVCO, teilomat::TextBox::tDB0,
        teilomat::TextBox::tDB1, teilomat::TextBox::tDB2}) {
    const std::string_view caption = design::CaptionOf(design::IdOf(box))->text;
    const std::size_t bracket = caption.find(" (");
    if (!sentence.empty()) sentence += ", ";
    sentence.append(caption.substr(0, bracket)).append(" ").append(Text(box));
    if (bracket != std::string_view::npos) {
      std::string unit(caption.substr(bracket + 2, caption.size() - bracket - 3));
      if (unit == "KHz") unit = "kHz";  // the design's caption misspells the unit
      sentence.append(" ").append(unit);
    }
  }
  // A new node each time, so that the same results are announced again.
  val document = val::global("document");
  val line = document.call<val>("createElement", val("span"));
  line.set("textContent", sentence);
  document.call<val>("getElementById", val("results")).call<void>("replaceChildren", line);
}

void PageWindow::AddRasterEntry(std::string_view text) {
  val document = val::global("document");
  val option = document.call<val>("createElement", val("li"));
  option.set("id", std::string(design::Row(design::Id::ChRaster).name) + "-" +
                       std::to_string(rasterEntries_++));
  SetAttribute(option, "role", "option");
  SetAttribute(option, "aria-selected", "false");
  // Read without the blank that aligns " 1,000" with the other entries.
  const std::size_t start = text.find_first_not_of(' ');
  SetAttribute(option, "aria-label",
               std::string(text.substr(start == std::string_view::npos ? 0 : start)));
  option.set("textContent", std::string(text));
  rasterList_.call<void>("append", option);
}

void PageWindow::SetRasterIndex(int index) {
  rasterIndex_ = index >= 0 && index < rasterEntries_ ? index : -1;
  val options = rasterList_["children"];
  for (int i = 0; i < rasterEntries_; ++i) {
    SetAttribute(options[i], "aria-selected", i == rasterIndex_ ? "true" : "false");
  }
  if (rasterIndex_ >= 0) {
    Element(design::Id::ChRaster).set("value", options[rasterIndex_]["textContent"]);
  }
  form_.ChRaster_Click();
}

bool PageWindow::Ticked(teilomat::CheckBox box) const {
  return Element(design::IdOf(box))["checked"].as<bool>();
}

void PageWindow::ShowMessage(teilomat::MessageIcon icon, std::string_view text) {
  ShowMessageDialog(icon == teilomat::MessageIcon::Critical, design::kMessageCaption,
                    std::string(text).c_str());
}

void PageWindow::FocusAndSelectAll(teilomat::TextBox box) {
  const val& field = Element(design::IdOf(box));
  field.call<void>("focus");
  field.call<void>("select");
}

void PageWindow::Unload() {
  EndPage();
}
