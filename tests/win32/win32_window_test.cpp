// The real Win32 window, driven through its messages the way a user's input
// arrives: keys and characters posted to the focused control, clicks posted
// to buttons, and every message handled by the window's own ProcessMessage,
// as in the program's message loop. Message boxes (#32770) are found, read
// and closed by a timer that runs inside their modal loop.
//
// Run by ctest under wine, once per locale; TEILOMAT_TEST_DECIMAL and
// TEILOMAT_TEST_GROUPING say which separators that locale has.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "window/Form1.h"
#include "window/win32/MainWindow.h"

namespace {

using namespace teilomat::win32;
namespace design = teilomat::design;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A number as the German locale writes it, in the separators of this run.
std::string Local(std::string german) {
  const std::string decimal = Env("TEILOMAT_TEST_DECIMAL");
  std::string text;
  for (char c : german) {
    if (c == ',') {
      text += decimal;
    } else {
      text += c;
    }
  }
  return text;
}

enum class Icon { None, Stop, Warning, Other };

// A message box as the user saw it.
struct SeenBox {
  std::string caption;
  std::string text;
  Icon icon = Icon::None;
  HWND owner = nullptr;
};

std::vector<SeenBox> seenBoxes;
std::set<HWND> closingBoxes;

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

BOOL CALLBACK ReadAndCloseMessageBox(HWND window, LPARAM) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring_view(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  if (!closingBoxes.insert(window).second) return TRUE;

  SeenBox box;
  box.caption = WindowText(window);
  box.owner = GetWindow(window, GW_OWNER);
  for (HWND child = FindWindowExW(window, nullptr, L"Static", nullptr); child;
       child = FindWindowExW(window, child, L"Static", nullptr)) {
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
      if (!icon) continue;
      box.icon = icon == LoadIconW(nullptr, MAKEINTRESOURCEW(32513))   ? Icon::Stop  // IDI_HAND
                 : icon == LoadIconW(nullptr, MAKEINTRESOURCEW(32515)) ? Icon::Warning
                                                                       : Icon::Other;
    } else if (const std::string text = WindowText(child); !text.empty()) {
      box.text = text;
    }
  }
  seenBoxes.push_back(box);
  PostMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);  // the user clicks OK
  return TRUE;
}

void CALLBACK WatchForMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), ReadAndCloseMessageBox, 0);
}

// What the fields show, in German; compared in this run's separators.
struct Screen {
  std::string rx, zf, vco, db0, db1, db2;
};

const Screen kDefaults{"145,675", "10,7", "156375", "223", "48", "160"};

class Win32Window : public ::testing::Test {
 protected:
  void SetUp() override {
    seenBoxes.clear();
    closingBoxes.clear();
    window_ = std::make_unique<MainWindow>(GetModuleHandleW(nullptr));
    ASSERT_NE(window_->Handle(), nullptr) << "no window: wine needs an X display (DISPLAY)";
    window_->Show(SW_SHOWNORMAL);
    timer_ = SetTimer(nullptr, 0, 20, WatchForMessageBoxes);
    Pump();
  }

  void TearDown() override {
    window_.reset();
    Pump();
    KillTimer(nullptr, timer_);
  }

  HWND Get(ControlId id) const { return window_->Control(id); }
  std::string TextOf(ControlId id) const { return WindowText(Get(id)); }

  // Handles what is queued, as the program's loop does, until the queue has
  // been quiet for a moment (wine delivers X events a little later). The
  // message-box timer's ticks do not count.
  void Pump() {
    MSG msg;
    for (;;) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;  // the window ended: the tests go on
        if (window_) {
          window_->ProcessMessage(msg);
        } else {
          TranslateMessage(&msg);
          DispatchMessageW(&msg);
        }
      }
      if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT & ~QS_TIMER) == WAIT_TIMEOUT)
        break;
    }
  }

  static LPARAM KeyData(WORD key, bool up, bool alt) {
    auto data = static_cast<LPARAM>(1 | (MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16));
    if (alt) data |= LPARAM{1} << 29;
    if (up) data |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    return data;
  }

  // A key pressed and released on the focused control. With Alt held down
  // the keys are posted as system keys; with Shift they are sent as real
  // input (SendInput), so that the key state shows Shift while Tab arrives.
  void Press(WORD key, bool shift = false, bool alt = false) {
    if (shift) {
      INPUT input[4] = {};
      const WORD keys[4] = {VK_SHIFT, key, key, VK_SHIFT};
      for (int i = 0; i < 4; ++i) {
        input[i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = keys[i];
        input[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC));
        input[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
      }
      SendInput(4, input, sizeof(INPUT));
      Pump();
      return;
    }
    HWND focus = GetFocus();
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
    PostMessageW(focus, down, key, KeyData(key, false, alt));
    PostMessageW(focus, up, key, KeyData(key, true, alt));
    Pump();
  }

  // Characters typed into the focused control.
  void Type(const std::string& text) {
    HWND focus = GetFocus();
    for (wchar_t c : Widen(text)) PostMessageW(focus, WM_CHAR, c, 1);
    Pump();
  }

  // A click on a button, posted so that a message box it opens can run.
  void Click(ControlId id) {
    PostMessageW(Get(id), BM_CLICK, 0, 0);
    Pump();
  }

  bool Focused(ControlId id) const {
    HWND focus = GetFocus();
    return focus && (focus == Get(id) || GetParent(focus) == Get(id));
  }

  // Tab until the control has the focus (and its text is selected).
  void TabTo(ControlId id) {
    for (int i = 0; i < 8 && !Focused(id); ++i) Press(VK_TAB);
    ASSERT_TRUE(Focused(id)) << id;
  }

  // Tabs into a text field and types over its text.
  void TypeInto(ControlId id, const std::string& text) {
    TabTo(id);
    Type(text);
  }

  void ExpectScreen(const Screen& expected) const {
    EXPECT_EQ(TextOf(tfo), Local(expected.rx));
    EXPECT_EQ(TextOf(tzf), Local(expected.zf));
    EXPECT_EQ(TextOf(tVCO), Local(expected.vco));
    EXPECT_EQ(TextOf(tDB0), expected.db0);
    EXPECT_EQ(TextOf(tDB1), expected.db1);
    EXPECT_EQ(TextOf(tDB2), expected.db2);
  }

  std::unique_ptr<MainWindow> window_;
  UINT_PTR timer_ = 0;
};

// Start-up: the defaults, the raster list, the boxes, the first focus.
TEST_F(Win32Window, ShowsTheDefaultsWithBerechnenFocused) {
  ExpectScreen(kDefaults);
  EXPECT_EQ(TextOf(ChRaster), "25,000");
  HWND raster = Get(ChRaster);
  ASSERT_EQ(SendMessageW(raster, CB_GETCOUNT, 0, 0), 3);
  const char* entries[] = {" 1,000", "10,000", "25,000"};
  for (int i = 0; i < 3; ++i) {
    wchar_t entry[16] = {};
    SendMessageW(raster, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(Narrow(entry), entries[i]);
  }
  EXPECT_EQ(SendMessageW(Get(bitcp), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Get(TSA_AMFM), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(Focused(Command1));
  EXPECT_TRUE(seenBoxes.empty());
}

// What the user does before pressing "Berechnen", and what follows.
struct Case {
  const char* name;
  const char* rx;           // typed into RX (in German), or nothing
  const char* zf;           // typed into ZF, or nothing
  int rasterUp;             // presses of the Up key in the raster box
  const char* rasterTyped;  // typed into the raster box's field, or nothing
  bool clickAmFm;
  bool clickChargePump;
  const char* message;  // the message box's text, or none
  Icon icon;
  Screen after;
};

const Case kCases[] = {
    {"onto the grid",
     "145,68",
     nullptr,
     0,
     nullptr,
     false,
     false,
     nullptr,
     Icon::None,
     {"145,675", "10,7", "156375", "223", "48", "160"}},
    {"halfway rounds to even",
     "145,6625",
     nullptr,
     0,
     nullptr,
     false,
     false,
     nullptr,
     Icon::None,
     {"145,65", "10,7", "156350", "221", "48", "160"}},
    {"1 kHz beyond the limit", nullptr, nullptr, 2, nullptr, false, false, tuning::kTooLargeMessage,
     Icon::Stop, kDefaults},
    {"AM/FM ticked",
     nullptr,
     nullptr,
     0,
     nullptr,
     true,
     false,
     nullptr,
     Icon::None,
     {"145,675", "10,7", "156375", "223", "48", "144"}},
    {"charge pump cleared",
     nullptr,
     nullptr,
     0,
     nullptr,
     false,
     true,
     nullptr,
     Icon::None,
     {"145,675", "10,7", "156375", "222", "48", "160"}},
    {"negative divider",
     "-20",
     "10,7",
     0,
     nullptr,
     false,
     false,
     tuning::kTooSmallMessage,
     Icon::Stop,
     {"-20", "10,7", "156375", "223", "48", "160"}},
    {"RX not a number",
     "abc",
     nullptr,
     0,
     nullptr,
     false,
     false,
     "Ungültige Zahl bei RX (MHz).",
     Icon::Warning,
     {"abc", "10,7", "156375", "223", "48", "160"}},
    {"typed raster text chooses nothing",
     "145,68",
     nullptr,
     0,
     " 1,000",
     false,
     false,
     nullptr,
     Icon::None,
     {"145,675", "10,7", "156375", "223", "48", "160"}},
};

TEST_F(Win32Window, BerechnenAfterTheUsersInput) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.rx) TypeInto(tfo, Local(c.rx));
    if (c.zf) TypeInto(tzf, Local(c.zf));
    if (c.rasterUp || c.rasterTyped) TabTo(ChRaster);
    for (int i = 0; i < c.rasterUp; ++i) Press(VK_UP);
    if (c.rasterTyped) Type(c.rasterTyped);
    if (c.clickAmFm) Click(TSA_AMFM);
    if (c.clickChargePump) Click(bitcp);
    // None of this changes the results on screen.
    EXPECT_EQ(TextOf(tVCO), Local(kDefaults.vco));
    EXPECT_EQ(TextOf(tDB0), kDefaults.db0);
    EXPECT_EQ(TextOf(tDB2), kDefaults.db2);

    Click(Command1);
    if (c.message) {
      ASSERT_EQ(seenBoxes.size(), 1u);
      EXPECT_EQ(seenBoxes[0].text, c.message);
      EXPECT_EQ(seenBoxes[0].caption, "Teilomat");
      EXPECT_EQ(seenBoxes[0].icon, c.icon);
      EXPECT_EQ(seenBoxes[0].owner, window_->Handle());
    } else {
      EXPECT_TRUE(seenBoxes.empty());
    }
    ExpectScreen(c.after);
  }
}

// Setting the raster index from code raises ChRaster_Click, though the combo
// box itself sends no CBN_SELCHANGE for CB_SETCURSEL.
TEST_F(Win32Window, SettingTheRasterIndexIsAChoice) {
  window_->SetRasterIndex(0);
  EXPECT_EQ(TextOf(ChRaster), " 1,000");
  EXPECT_EQ(window_->RasterIndex(), 0);
  Click(Command1);
  ASSERT_EQ(seenBoxes.size(), 1u);
  EXPECT_EQ(seenBoxes[0].text, tuning::kTooLargeMessage);
  ExpectScreen(kDefaults);
}

// After the warning the field that holds no number is focused, all selected.
TEST_F(Win32Window, AFieldThatHoldsNoNumberIsFocusedAndSelected) {
  TypeInto(tzf, "x");
  Click(Command1);
  ASSERT_EQ(seenBoxes.size(), 1u);
  EXPECT_EQ(seenBoxes[0].text, "Ungültige Zahl bei ZF (MHz).");
  EXPECT_EQ(seenBoxes[0].icon, Icon::Warning);
  EXPECT_TRUE(Focused(tzf));
  DWORD start = 1, end = 0;
  SendMessageW(Get(tzf), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 1u);
}

TEST_F(Win32Window, TabGoesRoundInTheDesignedOrder) {
  const ControlId order[] = {tfo, tzf, ChRaster, bitcp, TSA_AMFM, Command1};
  EXPECT_TRUE(Focused(Command1));
  for (ControlId id : order) {
    Press(VK_TAB);
    EXPECT_TRUE(Focused(id)) << id;
  }
  const ControlId back[] = {TSA_AMFM, bitcp, ChRaster, tzf, tfo, Command1};
  for (ControlId id : back) {
    Press(VK_TAB, /*shift=*/true);
    EXPECT_TRUE(Focused(id)) << id;
  }
}

// Enter in a text field and Escape do nothing; Enter or Space on the focused
// button presses it.
TEST_F(Win32Window, OnlyTheFocusedButtonTakesEnterAndSpace) {
  struct Keys {
    ControlId focus;
    WORD key;
    const char* rx;  // RX afterwards
  };
  const Keys cases[] = {{tfo, VK_RETURN, "145,68"},
                        {tfo, VK_ESCAPE, "145,68"},
                        {Command1, VK_ESCAPE, "145,68"},
                        {Command1, VK_RETURN, "145,675"},
                        {Command1, VK_SPACE, "145,675"}};
  for (const Keys& k : cases) {
    SCOPED_TRACE(::testing::Message() << "key " << k.key << " on " << k.focus);
    TearDown();
    SetUp();
    TypeInto(tfo, Local("145,68"));
    TabTo(k.focus);
    Press(k.key);
    ASSERT_NE(window_->Handle(), nullptr);
    EXPECT_EQ(TextOf(tfo), Local(k.rx));
    EXPECT_TRUE(seenBoxes.empty());
  }
}

TEST_F(Win32Window, AltEAndTheCloseBoxEndIt) {
  Press('E', false, /*alt=*/true);
  EXPECT_EQ(window_->Handle(), nullptr) << "Alt+E";
  TearDown();
  SetUp();
  PostMessageW(window_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_EQ(window_->Handle(), nullptr) << "close box";
}

TEST_F(Win32Window, ReadsTheSeparatorsOfTheUsersLocale) {
  const tuning::Separators separators = window_->LocaleSeparators();
  EXPECT_EQ(separators.decimal, Env("TEILOMAT_TEST_DECIMAL"));
  EXPECT_EQ(separators.grouping, Env("TEILOMAT_TEST_GROUPING"));
}

// The design: frame, menu, places, fonts, colours, states and z-order.
TEST_F(Win32Window, IsLaidOutAsDesigned) {
  HWND window = window_->Handle();
  const UINT dpi = window_->Dpi();
  const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
  EXPECT_EQ(WindowText(window), design::kTitle);

  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, px(design::kClientWidth));
  EXPECT_EQ(client.bottom, px(design::kClientHeight));
  const auto style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

  // Centred on the work area.
  RECT frame{};
  GetWindowRect(window, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_NEAR(frame.left + frame.right, monitor.rcWork.left + monitor.rcWork.right, 1);
  EXPECT_NEAR(frame.top + frame.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);

  HMENU menu = GetMenu(window);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  wchar_t item[16] = {};
  GetMenuStringW(menu, 0, item, 16, MF_BYPOSITION);
  EXPECT_EQ(Narrow(item), "&Ende");
  EXPECT_EQ(GetSubMenu(menu, 0), nullptr);
  EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(mnuFile));

  struct Placed {
    ControlId id;
    design::Twips rect;
    design::Font font;
    const char* text;
  };
  const Placed placed[] = {
      {Label10, design::kLabel10, design::kTitleFont, design::kCaptionProgram},
      {Label11, design::kLabel11, design::kMediumFont, design::kCaptionCredit},
      {Command1, design::kCommand1, design::kWindowFont, design::kCaptionBerechnen},
      {Label1, design::kLabel1, design::kFieldFont, design::kCaptionRx},
      {tfo, design::ktfo, design::kFieldBoldFont, nullptr},
      {Label6, design::kLabel6, design::kFieldFont, design::kCaptionZf},
      {tzf, design::ktzf, design::kFieldBoldFont, nullptr},
      {Label8, design::kLabel8, design::kFieldFont, design::kCaptionVco},
      {tVCO, design::ktVCO, design::kFieldFont, nullptr},
      {Label7, design::kLabel7, design::kFieldFont, design::kCaptionRaster},
      {ChRaster, design::kChRaster, design::kMediumBoldFont, nullptr},
      {Label2, design::kLabel2, design::kWindowFont, design::kCaptionDb0},
      {tDB0, design::ktDB0, design::kWindowFont, nullptr},
      {Label3, design::kLabel3, design::kWindowFont, design::kCaptionDb1},
      {tDB1, design::ktDB1, design::kWindowFont, nullptr},
      {Label4, design::kLabel4, design::kWindowFont, design::kCaptionDb2},
      {tDB2, design::ktDB2, design::kWindowFont, nullptr},
      {bitcp, design::kbitcp, design::kWindowFont, design::kCaptionChargePump},
      {TSA_AMFM, design::kTSA_AMFM, design::kWindowFont, design::kCaptionAmFm},
  };
  HWND previous = Get(Line1);
  for (const Placed& p : placed) {
    SCOPED_TRACE(p.id);
    HWND control = Get(p.id);
    // z-order: each control right after the one before it in the table.
    EXPECT_EQ(GetWindow(control, GW_HWNDPREV), previous);
    previous = control;
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, px(p.rect.left));
    EXPECT_EQ(rect.top, px(p.rect.top));
    EXPECT_EQ(rect.right - rect.left, px(p.rect.width));
    EXPECT_EQ(rect.bottom - rect.top, px(p.rect.height));
    if (p.text) {
      EXPECT_EQ(WindowText(control), p.text);
    }

    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(Narrow(font.lfFaceName), design::kFontFace);
    EXPECT_EQ(font.lfHeight, -std::lround(p.font.points * dpi / 72.0));
    EXPECT_EQ(font.lfWeight, p.font.bold ? FW_BOLD : FW_NORMAL);
  }

  // Outputs disabled, inputs not; no caption holds a mnemonic.
  for (ControlId id : {tVCO, tDB0, tDB1, tDB2}) EXPECT_FALSE(IsWindowEnabled(Get(id))) << id;
  for (ControlId id : {tfo, tzf, ChRaster, Command1, bitcp, TSA_AMFM}) {
    EXPECT_TRUE(IsWindowEnabled(Get(id))) << id;
  }
  EXPECT_EQ(GetWindowLongPtrW(Get(ChRaster), GWL_STYLE) & 3, CBS_DROPDOWN);
  EXPECT_TRUE(GetWindowLongPtrW(Get(bitcp), GWL_STYLE) & BS_LEFTTEXT);

  // Colours, as the window hands them to its controls.
  HDC dc = CreateCompatibleDC(nullptr);
  const auto colours = [&](ControlId id) {
    SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(Get(id)));
    return std::pair{GetTextColor(dc), GetBkColor(dc)};
  };
  EXPECT_EQ(colours(Label8).first, RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(colours(Line1).second, RGB(0xE0, 0xE0, 0xE0));
  EXPECT_EQ(colours(tVCO), std::pair(GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_WINDOW)));
  DeleteDC(dc);
}

// Moved to a monitor of 120 dpi, the window lays itself out anew. (Not 144:
// that frame would not fit on the test's 800 x 600 screen.)
TEST_F(Win32Window, FollowsAChangeOfDpi) {
  RECT frame{};
  GetWindowRect(window_->Handle(), &frame);
  RECT suggested{frame.left, frame.top, frame.left + 700, frame.top + 700};
  SendMessageW(window_->Handle(), WM_DPICHANGED, MAKEWPARAM(120, 120),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(window_->Dpi(), 120u);
  RECT client{};
  GetClientRect(window_->Handle(), &client);
  EXPECT_EQ(client.right, 500);
  EXPECT_EQ(client.bottom, MulDiv(5970, 120, 1440));
  RECT button{};
  GetWindowRect(Get(Command1), &button);
  EXPECT_EQ(button.right - button.left, MulDiv(1575, 120, 1440));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Get(tfo), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -20);  // 12 pt
  ExpectScreen(kDefaults);
}

// The window has one size: neither WM_SYSCOMMAND (system menu, keyboard) nor
// a shortcut set to "Maximiert" or "Minimiert" maximises or minimises it.
TEST_F(Win32Window, IsNeverMaximisedOrMinimised) {
  const auto normal = [](HWND window) { return !IsZoomed(window) && !IsIconic(window); };
  for (const int command : {SC_MAXIMIZE, SC_MINIMIZE}) {
    SendMessageW(window_->Handle(), WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
    Pump();
    EXPECT_TRUE(normal(window_->Handle())) << command;
  }
  window_.reset();  // the program's window is then the only one of its class
  for (const int command : {SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED}) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(command);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" TEILOMAT_PROGRAM L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    HWND shown = nullptr;  // shown normally soon, or never (ten seconds)
    for (int i = 0; i < 100 && !(shown && IsWindowVisible(shown) && normal(shown)); ++i) {
      Sleep(100);
      shown = FindWindowW(kWindowClass, nullptr);
    }
    EXPECT_TRUE(shown && normal(shown)) << command;
    if (shown) PostMessageW(shown, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 10000);
    TerminateProcess(process.hProcess, 1);  // should it still run
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

// A long paste is taken whole, as in the Qt window (and then refused as no
// number), not cut at the edit control's default 32767 characters.
TEST_F(Win32Window, InputFieldsTakeTextPastTheDefaultLimit) {
  const std::wstring huge(40000, L'1');
  for (ControlId id : {tfo, tzf}) {
    SendMessageW(Get(id), EM_SETSEL, 0, -1);
    SendMessageW(Get(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(huge.c_str()));
    EXPECT_EQ(GetWindowTextLengthW(Get(id)), 40000) << id;
  }
}

// No caption wraps onto a second line: left-aligned ones do not wrap at all,
// centred ones end in "..." instead.
TEST_F(Win32Window, CaptionsStayOnOneLine) {
  for (ControlId id : {Label10, Label11, Label1, Label8, Label2}) {
    const auto style = GetWindowLongPtrW(Get(id), GWL_STYLE);
    EXPECT_TRUE((style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP || (style & SS_ELLIPSISMASK)) << id;
  }
}

}  // namespace
