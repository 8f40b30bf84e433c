// The design of Form1, the program's one window, shared by every toolkit's
// window: captions, positions and sizes in twips (1440 to the inch, 15 to the
// pixel at 96 dpi), fonts and colours. Each window lays itself out from here.
#pragma once

namespace teilomat::design {

/// A control's outer rectangle in twips, relative to the client area.
struct Twips {
  int left, top, width, height;
};

/// A font of the design: "MS Sans Serif" at a size in points.
struct Font {
  double points;
  bool bold;
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

/// Colours as 0xRRGGBB.
inline constexpr unsigned kLineColour = 0xE0E0E0;
inline constexpr unsigned kVcoCaptionColour = 0x808080;

/// Line1 runs along y = 0 from x = 0 to 6960 twips, 6 pixels thick.
inline constexpr int kLineLength = 6960;
inline constexpr int kLineThicknessPx = 6;

inline constexpr char kMenuEnde[] = "&Ende";

// Captions and design-time texts.
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
inline constexpr char kTextVco[] = "tVCO";
inline constexpr char kTextDb2[] = "Text4";
inline constexpr char kTextDb1[] = "Text3";
inline constexpr char kTextDb0[] = "Text2";
inline constexpr char kTextRaster[] = "cRaster";

// Where each control stands, in the order the window holds them.
inline constexpr Twips kTSA_AMFM{2760, 3360, 855, 255};
inline constexpr Twips ktVCO{2280, 2280, 1575, 420};
inline constexpr Twips kbitcp{465, 3360, 2070, 255};
inline constexpr Twips kChRaster{2280, 2760, 1575, 360};
inline constexpr Twips ktzf{2280, 1800, 1575, 420};
inline constexpr Twips ktDB2{2280, 4800, 1575, 285};
inline constexpr Twips ktDB1{2280, 4440, 1575, 285};
inline constexpr Twips ktDB0{2280, 4080, 1575, 285};
inline constexpr Twips ktfo{2280, 1320, 1575, 420};
inline constexpr Twips kCommand1{2280, 5280, 1575, 495};
inline constexpr Twips kLabel11{1320, 840, 3495, 375};
inline constexpr Twips kLabel10{1560, 240, 3015, 495};
inline constexpr Twips kLabel8{705, 2280, 1455, 375};
inline constexpr Twips kLabel7{700, 2760, 1455, 375};
inline constexpr Twips kLabel6{700, 1800, 1335, 375};
inline constexpr Twips kLabel4{705, 4800, 750, 255};
inline constexpr Twips kLabel3{705, 4440, 870, 255};
inline constexpr Twips kLabel2{705, 4080, 870, 255};
inline constexpr Twips kLabel1{700, 1440, 1335, 375};

}  // namespace teilomat::design
