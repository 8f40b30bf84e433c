// Form1 as a native Win32 window: the design's controls as Windows' own
// STATIC, EDIT, COMBOBOX and BUTTON controls, laid out in twips at the
// window's DPI. It holds layout and wiring only; the behaviour is Form1's.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "window/Form1.h"
#include "window/Form1Design.h"
#include "window/FormControls.h"

namespace teilomat::win32 {

/// The identifiers of the controls, named as in the design: each is the
/// control's place in the design's table (design::Id) counted from
/// kFirstControl, so the table's order, which is the z-order and the tab
/// order, is theirs too. The menu item stands apart.
inline constexpr int kFirstControl = 100;
enum ControlId : int {
  Line1 = kFirstControl + static_cast<int>(design::Id::Line1),
  Label10 = kFirstControl + static_cast<int>(design::Id::Label10),
  Label11 = kFirstControl + static_cast<int>(design::Id::Label11),
  Command1 = kFirstControl + static_cast<int>(design::Id::Command1),
  Label1 = kFirstControl + static_cast<int>(design::Id::Label1),
  tfo = kFirstControl + static_cast<int>(design::Id::tfo),
  Label6 = kFirstControl + static_cast<int>(design::Id::Label6),
  tzf = kFirstControl + static_cast<int>(design::Id::tzf),
  Label8 = kFirstControl + static_cast<int>(design::Id::Label8),
  tVCO = kFirstControl + static_cast<int>(design::Id::tVCO),
  Label7 = kFirstControl + static_cast<int>(design::Id::Label7),
  ChRaster = kFirstControl + static_cast<int>(design::Id::ChRaster),
  Label2 = kFirstControl + static_cast<int>(design::Id::Label2),
  tDB0 = kFirstControl + static_cast<int>(design::Id::tDB0),
  Label3 = kFirstControl + static_cast<int>(design::Id::Label3),
  tDB1 = kFirstControl + static_cast<int>(design::Id::tDB1),
  Label4 = kFirstControl + static_cast<int>(design::Id::Label4),
  tDB2 = kFirstControl + static_cast<int>(design::Id::tDB2),
  bitcp = kFirstControl + static_cast<int>(design::Id::bitcp),
  TSA_AMFM = kFirstControl + static_cast<int>(design::Id::TSA_AMFM),
  mnuFile = 200,
};
static_assert(kFirstControl + static_cast<int>(design::kControlCount) <= mnuFile);

/// The identifier of a control of the design.
constexpr ControlId ControlIdOf(design::Id id) {
  return static_cast<ControlId>(kFirstControl + static_cast<int>(id));
}

/// The window class's name, for finding the window from outside.
inline constexpr wchar_t kWindowClass[] = L"Teilomat.Form1";

class MainWindow final : public FormControls {
 public:
  /// Creates the window hidden and loads it (Form_Load): the default results
  /// are in place before it is first shown. Check Handle() for success.
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  /// The top-level window, or nullptr once it is destroyed (or never was).
  HWND Handle() const { return hwnd_; }
  /// One of the controls, by its design name.
  HWND Control(ControlId id) const;
  /// The window's current dots per inch.
  UINT Dpi() const { return dpi_; }

  /// Shows the window in its place and size, with "Berechnen" focused. The
  /// window is shown normally whatever `showCommand` (WinMain's, which a
  /// shortcut may set) asks: it is never started maximised or minimised.
  void Show(int showCommand);

  /// Handles one message taken from the thread's queue: the window's own
  /// keys first (Tab, Enter, Escape), then translation and dispatch. Every
  /// message loop of the program and of its tests goes through here.
  void ProcessMessage(const MSG& msg);

  // FormControls
  std::string Text(TextBox box) const override;
  void SetText(TextBox box, std::string_view text) override;
  void AddRasterEntry(std::string_view text) override;
  int RasterIndex() const override;
  void SetRasterIndex(int index) override;
  bool Ticked(CheckBox box) const override;
  void ShowMessage(MessageIcon icon, std::string_view text) override;
  void FocusAndSelectAll(TextBox box) override;
  tuning::Separators LocaleSeparators() const override;
  void Unload() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Creates the controls in place, at the current DPI and fonts.
  void CreateControls();
  // Where a control stands at `dpi`, in pixels of the client area.
  static RECT ControlRect(const design::Control& row, UINT dpi);
  // Sets the raster box's field so that the closed box is as high as designed.
  void FitRasterBox();
  // The frame around the designed client area at `dpi`: at `suggested`'s
  // top left (WM_DPICHANGED), or centred on the work area.
  RECT FrameRect(UINT dpi, const RECT* suggested) const;
  // Moves the frame there, corrected until the client area is as designed.
  void PlaceFrame(const RECT* suggested);
  // Fonts, controls and frame anew for another DPI (WM_DPICHANGED).
  void Layout(UINT dpi, const RECT* suggested);
  void CreateFonts(UINT dpi);
  void DeleteFonts();
  HFONT FontFor(const design::Font& font) const;
  void OnCommand(int id, int code);
  HBRUSH OnControlColour(HDC dc, HWND control);
  bool HandleKey(const MSG& msg);
  HWND TextBoxControl(TextBox box) const;

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;  // the focused control while the window is inactive
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  std::array<HWND, design::kControlCount> controls_{};  // in the table's order
  // The design's fonts at the current DPI, in the order of design::kFonts.
  std::array<HFONT, design::kFonts.size()> fonts_{};
  HBRUSH lineBrush_ = nullptr;
  Form1 form_{*this};
};

/// Runs the message loop until the window is closed; the exit code.
int RunMessageLoop(MainWindow& window);

/// UTF-8 to UTF-16 and back, for the API's W functions.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace teilomat::win32
