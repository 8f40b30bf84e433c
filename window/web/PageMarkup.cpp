// Writes the page's form as HTML, at build time: the controls of the design
// table in their places, holding the texts that Form_Load gives them. The
// page thus shows its first results before any of its scripts runs; the
// WebAssembly then takes over the same elements (PageWindow).
//
// Numbers are written with "." as the decimal separator and no grouping; the
// page's first script puts in the visitor's separator before the first paint.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "window/Form1.h"
#include "window/Form1Design.h"
#include "window/FormControls.h"

namespace {

namespace design = teilomat::design;

// The texts that Form_Load writes, caught in memory.
class StartValues : public teilomat::FormControls {
 public:
  std::string Text(teilomat::TextBox box) const override { return Text(design::IdOf(box)); }
  std::string Text(design::Id id) const {
    auto found = texts_.find(id);
    return found == texts_.end() ? std::string(design::Row(id).text) : found->second;
  }
  void SetText(teilomat::TextBox box, std::string_view text) override {
    texts_[design::IdOf(box)] = std::string(text);
  }
  void AddRasterEntry(std::string_view text) override { entries.emplace_back(text); }
  int RasterIndex() const override { return index; }
  void SetRasterIndex(int i) override {
    index = i;
    form->ChRaster_Click();
  }
  bool Ticked(teilomat::CheckBox box) const override {
    return design::Row(design::IdOf(box)).Has(design::kTicked);
  }
  void ShowMessage(teilomat::MessageIcon, std::string_view text) override {
    std::fprintf(stderr, "start-up message: %.*s\n", static_cast<int>(text.size()), text.data());
    failed = true;
  }
  void FocusAndSelectAll(teilomat::TextBox) override {}
  tuning::Separators LocaleSeparators() const override { return {".", ""}; }
  void Unload() override {}

  teilomat::Form1* form = nullptr;  // the handlers, for ChRaster_Click
  std::vector<std::string> entries;
  int index = -1;
  bool failed = false;

 private:
  std::map<design::Id, std::string> texts_;
};

// Text as HTML, safe in element content and in quoted attributes alike.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Format(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A length in twips as CSS pixels, 15 twips to the pixel.
std::string Px(int twips) {
  return Format("%.6gpx", twips / 15.0);
}

// The place and font of a control, as its style attribute.
std::string Style(const design::Control& row) {
  std::string style = "left:" + Px(row.rect.left) + ";top:" + Px(row.rect.top) +
                      ";width:" + Px(row.rect.width) + ";height:" + Px(row.rect.height) +
                      ";font-size:" + Format("%gpt", row.font.points);
  if (row.font.bold) style += ";font-weight:bold";
  if (row.Has(design::kCentred)) style += ";text-align:center";
  if (row.colour != design::kSystemColour) {
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%06X", row.colour);
    style += row.kind == design::Kind::Line ? ";background:" : ";color:";
    style += colour;
  }
  return style;
}

// The keyboard a phone offers for a field. RX is never negative: the decimal
// pad. ZF may be, and the decimal pads of iOS have no minus key; it keeps
// the text keyboard, whose number layer has both the minus and the comma.
const char* Keyboard(design::Id id) {
  return id == design::Id::tfo ? "decimal" : "text";
}

// The caption in the title font: the page's heading, which names its form.
bool IsHeading(const design::Control& row) {
  return row.kind == design::Kind::Label && row.font == design::kTitleFont;
}

std::string ControlMarkup(const design::Control& row, const StartValues& values) {
  const std::string name(row.name);
  const std::string common =
      " id=\"" + name + "\" data-id=\"" + std::to_string(static_cast<int>(row.id)) + "\"";
  const std::string place = " style=\"" + Style(row) + "\"";
  const std::string kind = row.role == design::Role::Output ? " output" : "";
  const std::string text = Escaped(row.text);
  switch (row.kind) {
    case design::Kind::Line:
      return "<div class=\"control line\"" + common + place + "></div>";
    case design::Kind::Label: {
      const char* tag = IsHeading(row) ? "h1" : row.labels ? "label" : "div";
      const std::string labels =
          row.labels ? " for=\"" + std::string(design::Row(*row.labels).name) + "\"" : "";
      return std::string("<") + tag + " class=\"control label\"" + common + labels + place + ">" +
             text + "</" + tag + ">";
    }
    case design::Kind::TextBox: {
      const std::string use = row.role == design::Role::Output
                                  ? " readonly tabindex=\"-1\""
                                  : std::string(" inputmode=\"") + Keyboard(row.id) + "\"";
      return "<input type=\"text\" class=\"control textbox" + kind + "\"" + common + place +
             " value=\"" + Escaped(values.Text(row.id)) +
             "\" autocomplete=\"off\" spellcheck=\"false\"" + use + ">";
    }
    case design::Kind::ComboBox: {
      // The ARIA combobox: an editable field, a button that opens the list,
      // and the list, which the window fills and page.js opens and closes.
      const design::Control* caption = design::CaptionOf(row.id);
      const std::string list = name + "-list";
      const std::string shown =
          values.index >= 0 ? Escaped(values.entries[static_cast<std::size_t>(values.index)])
                            : text;
      return "<div class=\"control combobox\"" + place + "><input type=\"text\"" + common +
             " value=\"" + shown +
             "\" autocomplete=\"off\" spellcheck=\"false\" role=\"combobox\""
             " aria-autocomplete=\"none\" aria-expanded=\"false\" aria-controls=\"" +
             list + "\"><button type=\"button\" tabindex=\"-1\" aria-controls=\"" + list +
             "\" aria-expanded=\"false\" aria-label=\"Rasterliste öffnen\"></button><ul id=\"" +
             list + "\" role=\"listbox\" hidden" +
             (caption ? " aria-labelledby=\"" + std::string(caption->name) + "\"" : "") +
             "></ul></div>";
    }
    case design::Kind::CheckBox:
      return std::string("<label class=\"control checkbox") +
             (row.Has(design::kSquareRight) ? " square-right" : "") + "\"" + place +
             "><input type=\"checkbox\"" + common + " data-notify=\"click\"" +
             (row.Has(design::kTicked) ? " checked" : "") + ">" + text + "</label>";
    case design::Kind::Button:
      // The first control in tab order has the focus from the start.
      return "<button type=\"button\" class=\"control button\"" + common + place +
             " data-notify=\"click\"" + (row.tabIndex == 0 ? " autofocus" : "") + ">" + text +
             "</button>";
  }
  return "";
}

}  // namespace

int main() {
  StartValues values;
  teilomat::Form1 form(values);
  values.form = &form;
  form.Form_Load();
  if (values.failed) return 1;

  // The part of the client area that holds something, in pixels: a narrow
  // screen scales this part, not the design's empty margins, to its width.
  // A centred caption's box is wider than its text on either side; the
  // page's first script adds the text itself, as the browser draws it.
  int left = design::kClientWidth, right = 0;
  std::string heading;
  for (const design::Control& row : design::kControls) {
    if (IsHeading(row)) heading = row.name;
    if (row.kind == design::Kind::Line || row.Has(design::kCentred)) continue;
    left = std::min(left, row.rect.left);
    right = std::max(right, row.rect.left + row.rect.width);
  }

  // The menu: "&Ende", with its mnemonic underlined.
  const std::string_view menu = design::kMenuEnde;
  const std::size_t amp = menu.find('&');
  const std::string key(menu.substr(amp + 1, 1));
  std::printf(
      "<div id=\"window\">\n<div id=\"menubar\" role=\"menubar\" aria-label=\"Menü\">"
      "<button type=\"button\" id=\"mnuFile\" tabindex=\"-1\" role=\"menuitem\" "
      "data-notify=\"menu\" aria-keyshortcuts=\"Alt+%s\">%s<u>%s</u>%s</button></div>\n",
      key.c_str(), std::string(menu.substr(0, amp)).c_str(), key.c_str(),
      std::string(menu.substr(amp + 2)).c_str());
  std::printf(
      "<main id=\"Form1\" aria-labelledby=\"%s\" style=\"width:%s;height:%s;"
      "--content-left:%s;--content-width:%s\">\n",
      heading.c_str(), Px(design::kClientWidth).c_str(), Px(design::kClientHeight).c_str(),
      Px(left).c_str(), Px(right - left).c_str());
  for (const design::Control& row : design::kControls) {
    std::printf("%s\n", ControlMarkup(row, values).c_str());
  }
  std::printf("</main>\n</div>\n");
  return 0;
}
