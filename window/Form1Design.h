// The design of Form1, the program's one window, shared by every window that
// presents it (Qt, Win32, the web page): one table of its controls with their
// kinds, captions, places in twips (1440 to the inch, 15 to the pixel at
// 96 dpi), fonts, colours and tab order. Each window creates its controls by
// walking the table; none of them writes a control out again.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "window/FormControls.h"

namespace teilomat::design {

/// A control's outer rectangle in twips, relative to the client area.
struct Twips {
  int left, top, width, height;
};

/// A font of the design: "MS Sans Serif" at a size in points.
struct Font {
  double points;
  bool bold;

  friend constexpr bool operator==(const Font&, const Font&) = default;
};

inline constexpr char kTitle[] = "PLL mit TSA6057";    // the title bar
inline constexpr char kMessageCaption[] = "Teilomat";  // every message box
inline constexpr char kFontFace[] = "MS Sans Serif";

/// The client area under the menu bar: 6000 x 5970 twips.
inline constexpr int kClientWidth = 6000;
inline constexpr int kClientHeight = 5970;

inline constexpr Font kWindowFont{8.25, false};
inline constexpr Font kTitleFont{18, false};
inline constexpr Font kFieldFont{12, false};
inline constexpr Font kFieldBoldFont{12, true};
inline constexpr Font kMediumFont{9.75, false};
inline constexpr Font kMediumBoldFont{9.75, true};
/// Every font of the design, the window's own first.
inline constexpr std::array<Font, 6> kFonts{kWindowFont,    kTitleFont,  kFieldFont,
                                            kFieldBoldFont, kMediumFont, kMediumBoldFont};

/// Colours as 0xRRGGBB.
inline constexpr unsigned kLineColour = 0xE0E0E0;
inline constexpr unsigned kVcoCaptionColour = 0x808080;

/// Line1 runs along y = 0 from x = 0 to 6960 twips (its row gives its
/// thickness).
inline constexpr int kLineLength = 6960;

/// The one item of the menu bar; "E" is its mnemonic.
inline constexpr char kMenuEnde[] = "&Ende";

// Captions and design-time texts, by name: the table below and code that
// names one use these.
inline constexpr char kCaptionAmFm[] = "AM/FM";
inline constexpr char kCaptionChargePump[] = "BIT 0 CP (charge Pump)";
inline constexpr char kCaptionBerechnen[] = "Berechnen";
inline constexpr char kCaptionCredit[] = "PLL-Rechner für den TSA6057";
inline constexpr char kCaptionProgram[] = "Teilomat";
inline constexpr char kCaptionVco[] = "VCO (KHz)";
inline constexpr char kCaptionRaster[] = "Raster (kHz)";
inline constexpr char kCaptionZf[] = "ZF (MHz)";
inline constexpr char kCaptionDb2[] = "DB2";
inline constexpr char kCaptionDb1[] = "DB1";
inline constexpr char kCaptionDb0[] = "DB0";
inline constexpr char kCaptionRx[] = "RX (MHz)";
// The design-time texts of the output boxes and the raster box.
inline constexpr char kTextVco[] = "tVCO";
inline constexpr char kTextDb2[] = "Text4";
inline constexpr char kTextDb1[] = "Text3";
inline constexpr char kTextDb0[] = "Text2";
inline constexpr char kTextRaster[] = "cRaster";

/// The controls, by their design names, in the order of kControls.
enum class Id {
  Line1,
  Label10,
  Label11,
  Command1,
  Label1,
  tfo,
  Label6,
  tzf,
  Label8,
  tVCO,
  Label7,
  ChRaster,
  Label2,
  tDB0,
  Label3,
  tDB1,
  Label4,
  tDB2,
  bitcp,
  TSA_AMFM,
};

/// What a control is.
enum class Kind { Line, Label, TextBox, ComboBox, CheckBox, Button };

/// What the user does with a control.
enum class Role {
  Static,  // a caption or decoration: never takes the focus
  Input,   // typed into, chosen or pressed: takes the focus in tab order
  Output,  // written by the program only: disabled, never focused
};

/// Options of a control, or-ed together.
enum Option : unsigned {
  kPlain = 0,
  kCentred = 1,      // a label's text centred (else left-aligned)
  kSquareRight = 2,  // a check box's square right of its caption (else left)
  kTicked = 4,       // a check box ticked when the window is created
};

/// The colour a control has by design, 0xRRGGBB; kSystemColour where the
/// toolkit's own colours apply.
inline constexpr unsigned kSystemColour = 0xFFFFFFFF;

/// One control of the design.
struct Control {
  Id id;
  std::string_view name;  // the design name, also the toolkit's object name
  Kind kind;
  std::string_view text;  // caption or design-time text, UTF-8
  Twips rect;
  Font font;
  Role role;
  int tabIndex;              // the design's tab index; -1 for the line
  std::optional<Id> labels;  // a caption: the field it names, next in the table
  unsigned colour;           // a label's text colour, or the line's own colour
  unsigned options;          // Option flags

  constexpr bool Has(Option option) const { return (options & option) != 0; }
};

/// The window's controls in z-order: each caption just before the field it
/// names (so that accessibility tools name the field by it), and the
/// controls other than captions in ascending tab index, which makes the
/// table's order the tab order. Line1 is 6 pixels (90 twips) thick and
/// centred on its path along y = 0, so only its lower half shows, as a band
/// under the menu bar; it reaches past the right edge.
// clang-format off
inline constexpr Control kControls[] = {
//  id             name        kind            text                 left  top   width height  font             role          tab  labels        colour             options
  {Id::Line1,    "Line1",    Kind::Line,     "",                 {0,    -45,  kLineLength, 90}, kWindowFont, Role::Static, -1, {},           kLineColour,       kPlain},
  {Id::Label10,  "Label10",  Kind::Label,    kCaptionProgram,    {1560, 240,  3015, 495}, kTitleFont,      Role::Static, 16, {},           kSystemColour,     kCentred},
  {Id::Label11,  "Label11",  Kind::Label,    kCaptionCredit,     {1320, 840,  3495, 375}, kMediumFont,     Role::Static, 17, {},           kSystemColour,     kCentred},
  {Id::Command1, "Command1", Kind::Button,   kCaptionBerechnen,  {2280, 5280, 1575, 495}, kWindowFont,     Role::Input,   0, {},           kSystemColour,     kPlain},
  {Id::Label1,   "Label1",   Kind::Label,    kCaptionRx,         {700,  1440, 1335, 375}, kFieldFont,      Role::Static,  8, Id::tfo,      kSystemColour,     kPlain},
  {Id::tfo,      "tfo",      Kind::TextBox,  "",                 {2280, 1320, 1575, 420}, kFieldBoldFont,  Role::Input,   1, {},           kSystemColour,     kPlain},
  {Id::Label6,   "Label6",   Kind::Label,    kCaptionZf,         {700,  1800, 1335, 375}, kFieldFont,      Role::Static, 12, Id::tzf,      kSystemColour,     kPlain},
  {Id::tzf,      "tzf",      Kind::TextBox,  "",                 {2280, 1800, 1575, 420}, kFieldBoldFont,  Role::Input,   2, {},           kSystemColour,     kPlain},
  {Id::Label8,   "Label8",   Kind::Label,    kCaptionVco,        {705,  2280, 1455, 375}, kFieldFont,      Role::Static, 15, Id::tVCO,     kVcoCaptionColour, kPlain},
  {Id::tVCO,     "tVCO",     Kind::TextBox,  kTextVco,           {2280, 2280, 1575, 420}, kFieldFont,      Role::Output,  3, {},           kSystemColour,     kPlain},
  {Id::Label7,   "Label7",   Kind::Label,    kCaptionRaster,     {700,  2760, 1455, 375}, kFieldFont,      Role::Static, 13, Id::ChRaster, kSystemColour,     kPlain},
  {Id::ChRaster, "ChRaster", Kind::ComboBox, kTextRaster,        {2280, 2760, 1575, 360}, kMediumBoldFont, Role::Input,   4, {},           kSystemColour,     kPlain},
  {Id::Label2,   "Label2",   Kind::Label,    kCaptionDb0,        {705,  4080, 870,  255}, kWindowFont,     Role::Static,  9, Id::tDB0,     kSystemColour,     kPlain},
  {Id::tDB0,     "tDB0",     Kind::TextBox,  kTextDb0,           {2280, 4080, 1575, 285}, kWindowFont,     Role::Output,  5, {},           kSystemColour,     kPlain},
  {Id::Label3,   "Label3",   Kind::Label,    kCaptionDb1,        {705,  4440, 870,  255}, kWindowFont,     Role::Static, 10, Id::tDB1,     kSystemColour,     kPlain},
  {Id::tDB1,     "tDB1",     Kind::TextBox,  kTextDb1,           {2280, 4440, 1575, 285}, kWindowFont,     Role::Output,  6, {},           kSystemColour,     kPlain},
  {Id::Label4,   "Label4",   Kind::Label,    kCaptionDb2,        {705,  4800, 750,  255}, kWindowFont,     Role::Static, 11, Id::tDB2,     kSystemColour,     kPlain},
  {Id::tDB2,     "tDB2",     Kind::TextBox,  kTextDb2,           {2280, 4800, 1575, 285}, kWindowFont,     Role::Output,  7, {},           kSystemColour,     kPlain},
  // The charge-pump box has its square at its right end, next to that of "AM/FM".
  {Id::bitcp,    "bitcp",    Kind::CheckBox, kCaptionChargePump, {465,  3360, 2070, 255}, kWindowFont,     Role::Input,  14, {},           kSystemColour,     kSquareRight | kTicked},
  {Id::TSA_AMFM, "TSA_AMFM", Kind::CheckBox, kCaptionAmFm,       {2760, 3360, 855,  255}, kWindowFont,     Role::Input,  18, {},           kSystemColour,     kPlain},
};
// clang-format on

inline constexpr std::size_t kControlCount = std::size(kControls);

/// The row of a control.
constexpr const Control& Row(Id id) {
  return kControls[static_cast<std::size_t>(id)];
}

/// The design name of a text box or check box of FormControls.
constexpr Id IdOf(TextBox box) {
  switch (box) {
    case TextBox::tfo:
      return Id::tfo;
    case TextBox::tzf:
      return Id::tzf;
    case TextBox::tVCO:
      return Id::tVCO;
    case TextBox::tDB0:
      return Id::tDB0;
    case TextBox::tDB1:
      return Id::tDB1;
    case TextBox::tDB2:
      return Id::tDB2;
  }
  return Id::tfo;
}
constexpr Id IdOf(CheckBox box) {
  return box == CheckBox::bitcp ? Id::bitcp : Id::TSA_AMFM;
}

/// The caption that names a field, if it has one.
constexpr const Control* CaptionOf(Id field) {
  for (const Control& row : kControls) {
    if (row.labels == field) return &row;
  }
  return nullptr;
}

/// Whether the table keeps its own promises: each row stands at its Id, each
/// caption just before its field, and every control other than a caption or
/// the line in ascending tab index.
constexpr bool TableIsConsistent() {
  int lastTab = -1;
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const Control& row = kControls[i];
    if (static_cast<std::size_t>(row.id) != i) return false;
    if (row.labels && (i + 1 == kControlCount || kControls[i + 1].id != *row.labels)) {
      return false;
    }
    if (row.kind == Kind::Label || row.kind == Kind::Line) continue;
    if (row.tabIndex <= lastTab) return false;
    lastTab = row.tabIndex;
  }
  return true;
}
static_assert(TableIsConsistent());

// Where each control stands, by name.
inline constexpr Twips kTSA_AMFM = Row(Id::TSA_AMFM).rect;
inline constexpr Twips ktVCO = Row(Id::tVCO).rect;
inline constexpr Twips kbitcp = Row(Id::bitcp).rect;
inline constexpr Twips kChRaster = Row(Id::ChRaster).rect;
inline constexpr Twips ktzf = Row(Id::tzf).rect;
inline constexpr Twips ktDB2 = Row(Id::tDB2).rect;
inline constexpr Twips ktDB1 = Row(Id::tDB1).rect;
inline constexpr Twips ktDB0 = Row(Id::tDB0).rect;
inline constexpr Twips ktfo = Row(Id::tfo).rect;
inline constexpr Twips kCommand1 = Row(Id::Command1).rect;
inline constexpr Twips kLabel11 = Row(Id::Label11).rect;
inline constexpr Twips kLabel10 = Row(Id::Label10).rect;
inline constexpr Twips kLabel8 = Row(Id::Label8).rect;
inline constexpr Twips kLabel7 = Row(Id::Label7).rect;
inline constexpr Twips kLabel6 = Row(Id::Label6).rect;
inline constexpr Twips kLabel4 = Row(Id::Label4).rect;
inline constexpr Twips kLabel3 = Row(Id::Label3).rect;
inline constexpr Twips kLabel2 = Row(Id::Label2).rect;
inline constexpr Twips kLabel1 = Row(Id::Label1).rect;

}  // namespace teilomat::design
