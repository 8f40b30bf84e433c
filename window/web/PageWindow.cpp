#include "window/web/PageWindow.h"

#include <emscripten/emscripten.h>

#include <cstdio>
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

// A length in twips as CSS pixels, 15 twips to the pixel.
std::string Px(int twips) {
  return "calc(" + std::to_string(twips) + "px / 15)";
}

std::string Points(double points) {
  char text[16];
  std::snprintf(text, sizeof text, "%gpt", points);
  return text;
}

std::string Colour(unsigned rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", rgb);
  return text;
}

// The page's style sheet addresses the controls by kind.
const char* KindClass(design::Kind kind) {
  switch (kind) {
    case design::Kind::Line:
      return "line";
    case design::Kind::Label:
      return "label";
    case design::Kind::TextBox:
      return "textbox";
    case design::Kind::ComboBox:
      return "combobox";
    case design::Kind::CheckBox:
      return "checkbox";
    case design::Kind::Button:
      return "button";
  }
  return "control";
}

val Make(val& document, const char* tag) {
  return document.call<val>("createElement", val(tag));
}

void SetAttribute(const val& element, const char* name, const std::string& value) {
  element.call<void>("setAttribute", val(name), value);
}

void Place(val& element, const design::Control& row) {
  val style = element["style"];
  style.set("left", Px(row.rect.left));
  style.set("top", Px(row.rect.top));
  style.set("width", Px(row.rect.width));
  style.set("height", Px(row.rect.height));
  style.set("fontSize", Points(row.font.points));
  if (row.font.bold) style.set("fontWeight", val("bold"));
}

}  // namespace

PageWindow::PageWindow() {
  val document = val::global("document");
  CreateMenu(document);
  CreateControls(document);

  // The separators of the browser's preferred language.
  val format = val::global("Intl")["NumberFormat"].new_(val::global("navigator")["language"]);
  val parts = format.call<val>("formatToParts", 1234567.5);
  separators_.grouping.clear();
  for (int i = 0; i < parts["length"].as<int>(); ++i) {
    const std::string type = parts[i]["type"].as<std::string>();
    if (type == "decimal") separators_.decimal = parts[i]["value"].as<std::string>();
    if (type == "group") separators_.grouping = parts[i]["value"].as<std::string>();
  }
}

void PageWindow::CreateMenu(val& document) {
  // "&Ende": the letter after "&" is underlined and is the access key.
  const std::string_view caption = design::kMenuEnde;
  const std::size_t amp = caption.find('&');
  val item = Make(document, "button");
  item.set("id", val("mnuFile"));
  item.set("type", val("button"));
  item.set("tabIndex", -1);
  SetAttribute(item, "role", "menuitem");
  SetAttribute(item, "data-notify", "menu");
  const std::string key(caption.substr(amp + 1, 1));
  item.set("accessKey", key);
  val underlined = Make(document, "u");
  underlined.set("textContent", key);
  item.call<void>("append", std::string(caption.substr(0, amp)), underlined,
                  std::string(caption.substr(amp + 2)));
  document.call<val>("getElementById", val("menubar")).call<void>("append", item);
}

void PageWindow::CreateControls(val& document) {
  val form = document.call<val>("getElementById", val("Form1"));
  form["style"].set("width", Px(design::kClientWidth));
  form["style"].set("height", Px(design::kClientHeight));
  elements_.reserve(design::kControlCount);
  for (const design::Control& row : design::kControls) {
    const std::string name(row.name);
    const std::string text(row.text);
    val element = val::undefined();
    val box = val::undefined();  // what stands at the control's place
    switch (row.kind) {
      case design::Kind::Line:
        element = box = Make(document, "div");
        element["style"].set("background", Colour(row.colour));
        break;
      case design::Kind::Label:
        element = box = Make(document, row.labels ? "label" : "div");
        element.set("textContent", text);
        if (row.labels) element.set("htmlFor", std::string(design::Row(*row.labels).name));
        if (row.Has(design::kCentred)) element["style"].set("textAlign", val("center"));
        if (row.colour != design::kSystemColour) element["style"].set("color", Colour(row.colour));
        break;
      case design::Kind::TextBox:
        element = box = Make(document, "input");
        element.set("type", val("text"));
        element.set("value", text);
        element.set("autocomplete", val("off"));
        element.set("spellcheck", false);
        if (row.role == design::Role::Output) {
          element.set("readOnly", true);
          element.set("tabIndex", -1);
        }
        break;
      case design::Kind::ComboBox: {
        // The ARIA combobox: an editable field, a button that opens the
        // list, and the list of options; page.js opens and closes it.
        box = Make(document, "div");
        element = Make(document, "input");
        element.set("type", val("text"));
        element.set("value", text);
        element.set("autocomplete", val("off"));
        element.set("spellcheck", false);
        SetAttribute(element, "role", "combobox");
        SetAttribute(element, "aria-autocomplete", "none");
        SetAttribute(element, "aria-expanded", "false");
        SetAttribute(element, "aria-controls", name + "-list");
        val button = Make(document, "button");
        button.set("type", val("button"));
        button.set("tabIndex", -1);
        SetAttribute(button, "aria-controls", name + "-list");
        SetAttribute(button, "aria-expanded", "false");
        if (const design::Control* caption = design::CaptionOf(row.id))
          SetAttribute(button, "aria-label", std::string(caption->text));
        rasterList_ = Make(document, "ul");
        rasterList_.set("id", name + "-list");
        rasterList_.set("hidden", true);
        SetAttribute(rasterList_, "role", "listbox");
        box.call<void>("append", element, button, rasterList_);
        break;
      }
      case design::Kind::CheckBox:
        box = Make(document, "label");
        element = Make(document, "input");
        element.set("type", val("checkbox"));
        element.set("checked", row.Has(design::kTicked));
        SetAttribute(element, "data-notify", "change");
        box.call<void>("append", element, text);
        if (row.Has(design::kSquareRight)) box["classList"].call<void>("add", val("square-right"));
        break;
      case design::Kind::Button:
        element = box = Make(document, "button");
        element.set("type", val("button"));
        element.set("textContent", text);
        SetAttribute(element, "data-notify", "click");
        break;
    }
    element.set("id", name);
    SetAttribute(element, "data-id", std::to_string(static_cast<int>(row.id)));
    box["classList"].call<void>("add", val("control"), val(KindClass(row.kind)));
    if (row.role == design::Role::Output) box["classList"].call<void>("add", val("output"));
    Place(box, row);
    form.call<void>("append", box);
    elements_.push_back(element);
  }
}

void PageWindow::Load() {
  form_.Form_Load();
  Element(design::Id::Command1).call<void>("focus");
}

void PageWindow::Notify(design::Id id) {
  switch (id) {
    case design::Id::Command1:
      form_.Command1_Click();
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
}

void PageWindow::AddRasterEntry(std::string_view text) {
  val document = val::global("document");
  val option = Make(document, "li");
  option.set("id", std::string(design::Row(design::Id::ChRaster).name) + "-" +
                       std::to_string(rasterEntries_++));
  SetAttribute(option, "role", "option");
  SetAttribute(option, "aria-selected", "false");
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
