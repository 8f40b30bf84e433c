#include "window/win32/MainWindow.h"

#include <commctrl.h>

#include <cmath>
#include <cwchar>

#include "window/win32/resource.h"

namespace teilomat::win32 {

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// A control of the design as a native control: its window class and styles.
struct NativeControl {
  const wchar_t* windowClass;
  DWORD style;
  DWORD exStyle;
};

NativeControl NativeOf(const design::Control& row) {
  switch (row.kind) {
    case design::Kind::Line:
      return {L"STATIC", kChild | SS_LEFT, 0};
    case design::Kind::Label:
      // On one line: a centred caption too long for its label would end in
      // "..." rather than wrap.
      return {L"STATIC",
              kChild | SS_NOPREFIX |
                  (row.Has(design::kCentred) ? SS_CENTER | SS_ENDELLIPSIS : SS_LEFTNOWORDWRAP),
              0};
    case design::Kind::TextBox:
      return {L"EDIT",
              kChild | ES_LEFT | ES_AUTOHSCROLL |
                  (row.role == design::Role::Output ? WS_DISABLED : WS_TABSTOP),
              WS_EX_CLIENTEDGE};
    case design::Kind::ComboBox:
      return {L"COMBOBOX", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
    case design::Kind::CheckBox:
      return {
          L"BUTTON",
          kChild | WS_TABSTOP | BS_AUTOCHECKBOX | (row.Has(design::kSquareRight) ? BS_LEFTTEXT : 0),
          0};
    case design::Kind::Button:
      break;
  }
  return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
}

// The design's row of a control.
const design::Control& RowOf(int id) {
  return design::kControls[static_cast<std::size_t>(id - kFirstControl)];
}

// Fixed single border, title bar with system menu and close box only.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

COLORREF Colour(unsigned rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Twips to pixels at `dpi`: twips / 15 at 96 dpi.
int Scale(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), 1440);
}

// Selects the whole text of an edit field or of the combo box's field, as
// the dialog manager does when Tab brings the focus there.
void SelectAll(HWND control) {
  wchar_t name[16] = {};
  GetClassNameW(control, name, 16);
  if (_wcsicmp(name, L"COMBOBOX") == 0) {
    SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
  } else if (_wcsicmp(name, L"EDIT") == 0) {
    SendMessageW(control, EM_SETSEL, 0, -1);
  }
}

// Loads the common controls (version 6, as the manifest asks) and registers
// the window class.
ATOM RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_TEILOMAT), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                 GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR | LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(
      instance, MAKEINTRESOURCEW(IDI_TEILOMAT), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
      GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass);
}

std::wstring ControlText(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

std::wstring Widen(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {
  static const ATOM registered = RegisterWindowClass(instance, &MainWindow::WindowProc);
  if (!registered) return;

  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, mnuFile, Widen(design::kMenuEnde).c_str());
  // Hidden, in its place on the primary monitor, at that monitor's DPI as the
  // system gives it; everything is made in place, for start-up speed.
  dpi_ = GetDpiForSystem();
  const RECT frame = FrameRect(dpi_, nullptr);
  CreateWindowExW(0, kWindowClass, Widen(design::kTitle).c_str(), kWindowStyle, frame.left,
                  frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr, menu,
                  instance, this);
  if (!hwnd_) {
    DestroyMenu(menu);
    return;
  }
  dpi_ = GetDpiForWindow(hwnd_);
  lineBrush_ = CreateSolidBrush(Colour(design::Row(design::Id::Line1).colour));
  CreateFonts(dpi_);
  CreateControls();
  PlaceFrame(nullptr);
  lastFocus_ = Control(Command1);
  form_.Form_Load();
}

MainWindow::~MainWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
  DeleteFonts();
  if (lineBrush_) DeleteObject(lineBrush_);
}

HWND MainWindow::Control(ControlId id) const {
  const int index = id - kFirstControl;
  if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
  return controls_[static_cast<std::size_t>(index)];
}

void MainWindow::CreateControls() {
  // In the table's order, which makes it the z-order (each caption just
  // before its field, so that UI Automation names the field by it) and the
  // order in which Tab visits the controls that take the focus.
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0]), FALSE);
  for (const design::Control& row : design::kControls) {
    const NativeControl native = NativeOf(row);
    const RECT rect = ControlRect(row, dpi_);
    const ControlId id = ControlIdOf(row.id);
    HWND control =
        CreateWindowExW(native.exStyle, native.windowClass, Widen(row.text).c_str(), native.style,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    controls_[static_cast<std::size_t>(row.id)] = control;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(row.font)), FALSE);
    // No limit but memory to what is typed or pasted, as in the Qt window;
    // text that long is no number anyway.
    if (row.kind == design::Kind::TextBox) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    if (row.Has(design::kTicked)) SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
  }
  FitRasterBox();
}

void MainWindow::CreateFonts(UINT dpi) {
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(design::kFonts[i].points * dpi / 72.0));
    font.lfWeight = design::kFonts[i].bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;  // Western, as designed
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    const std::wstring face = Widen(design::kFontFace);
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    fonts_[i] = CreateFontIndirectW(&font);
  }
}

void MainWindow::DeleteFonts() {
  for (HFONT& font : fonts_) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}

HFONT MainWindow::FontFor(const design::Font& font) const {
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    if (design::kFonts[i] == font) return fonts_[i];
  }
  return fonts_[0];
}

RECT MainWindow::ControlRect(const design::Control& row, UINT dpi) {
  const design::Twips& twips = row.rect;
  const int left = Scale(twips.left, dpi);
  const int width = Scale(twips.width, dpi);
  int height = Scale(twips.height, dpi);
  int top = Scale(twips.top, dpi);
  // A line is centred on its path: Line1 along y = 0 shows its lower half
  // as a band under the menu bar.
  if (row.kind == design::Kind::Line) top = Scale(twips.top + twips.height / 2, dpi) - height / 2;
  // A combo box window's height is that of the box with its list dropped.
  if (row.kind == design::Kind::ComboBox) height += Scale(1200, dpi);
  return {left, top, left + width, top + height};
}

void MainWindow::FitRasterBox() {
  // The closed box is as high as designed: its height follows that of its
  // field, which is set until it comes out right.
  HWND box = Control(ChRaster);
  const int height = Scale(design::kChRaster.height, dpi_);
  LRESULT field = SendMessageW(box, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int attempt = 0; attempt < 4; ++attempt) {
    RECT closed{};
    GetWindowRect(box, &closed);
    const LRESULT missing = height - (closed.bottom - closed.top);
    if (missing == 0) break;
    field += missing;
    SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  }
}

RECT MainWindow::FrameRect(UINT dpi, const RECT* suggested) const {
  // The frame around a client area of 6000 x 5970 twips, menu bar included.
  RECT frame{0, 0, Scale(design::kClientWidth, dpi), Scale(design::kClientHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, 0, dpi);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  POINT place{};
  if (suggested) {
    place = {suggested->left, suggested->top};
  } else {
    // Centred on the work area of the window's monitor (before the window
    // exists, the primary one).
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HMONITOR handle = hwnd_ ? MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    GetMonitorInfoW(handle, &monitor);
    const RECT& work = monitor.rcWork;
    place = {work.left + (work.right - work.left - width) / 2,
             work.top + (work.bottom - work.top - height) / 2};
  }
  return {place.x, place.y, place.x + width, place.y + height};
}

void MainWindow::PlaceFrame(const RECT* suggested) {
  RECT frame = FrameRect(dpi_, suggested);
  // The menu bar may be of another height than the estimate: the frame is
  // corrected by the client area that comes out, and placed once more.
  for (int attempt = 0; attempt < 2; ++attempt) {
    RECT now{};
    GetWindowRect(hwnd_, &now);
    if (!EqualRect(&now, &frame)) {
      SetWindowPos(hwnd_, nullptr, frame.left, frame.top, frame.right - frame.left,
                   frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int wider = Scale(design::kClientWidth, dpi_) - client.right;
    const int higher = Scale(design::kClientHeight, dpi_) - client.bottom;
    if (wider == 0 && higher == 0) break;
    RECT corrected{0, 0, frame.right - frame.left + wider, frame.bottom - frame.top + higher};
    if (suggested) {
      OffsetRect(&corrected, frame.left, frame.top);
    } else {
      // Centred again, with the corrected size.
      OffsetRect(&corrected, frame.left - wider / 2, frame.top - higher / 2);
    }
    frame = corrected;
  }
}

void MainWindow::Layout(UINT dpi, const RECT* suggested) {
  dpi_ = dpi;
  const auto oldFonts = fonts_;
  CreateFonts(dpi);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0]), FALSE);
  for (const design::Control& row : design::kControls) {
    HWND control = controls_[static_cast<std::size_t>(row.id)];
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(row.font)), FALSE);
    const RECT rect = ControlRect(row, dpi);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FitRasterBox();
  PlaceFrame(suggested);
  for (HFONT font : oldFonts) {
    if (font) DeleteObject(font);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::Show(int /*showCommand*/) {
  if (!hwnd_) return;
  // Windows may take the first show command from the program's start-up
  // information instead: a window that comes up maximised or minimised all
  // the same is restored at once.
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  if (IsZoomed(hwnd_) || IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  UpdateWindow(hwnd_);
  SetFocus(lastFocus_);
}

void MainWindow::ProcessMessage(const MSG& msg) {
  if (HandleKey(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool MainWindow::HandleKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !hwnd_) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  HWND raster = Control(ChRaster);
  const bool listOpen = SendMessageW(raster, CB_GETDROPPEDSTATE, 0, 0) != 0;
  switch (msg.wParam) {
    case VK_TAB: {
      if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
      if (listOpen) SendMessageW(raster, CB_SHOWDROPDOWN, FALSE, 0);
      HWND focus = GetFocus();
      if (focus && GetParent(focus) == raster) focus = raster;  // the box's own field
      if (focus && !IsChild(hwnd_, focus)) focus = nullptr;
      HWND next = GetNextDlgTabItem(hwnd_, focus, GetKeyState(VK_SHIFT) < 0);
      if (next) {
        SetFocus(next);
        SelectAll(next);
      }
      return true;
    }
    case VK_RETURN:
    case VK_ESCAPE: {
      if (listOpen) return false;  // they close the open raster list
      // No default and no cancel button: only Enter on the focused button
      // presses it (as Space does); otherwise both keys do nothing.
      HWND button = Control(Command1);
      if (msg.wParam == VK_RETURN && GetFocus() == button) {
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(Command1, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
      }
      return true;
    }
    default:
      return false;
  }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* window = static_cast<MainWindow*>(created->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return window->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush =
              OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_ACTIVATE:
      // Like a dialog: the focused control is kept while the window is
      // inactive, and gets the focus back when it is activated again.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (!HIWORD(wParam) && lastFocus_) {
        SetFocus(lastFocus_);
      }
      return 0;
    case WM_SETFOCUS:
      if (lastFocus_) SetFocus(lastFocus_);
      return 0;
    case WM_SYSCOMMAND:
      // The window has one size: the system menu, the keyboard and the shell
      // can neither maximise nor minimise it.
      if ((wParam & 0xFFF0) == SC_MAXIMIZE || (wParam & 0xFFF0) == SC_MINIMIZE) return 0;
      break;
    case WM_DPICHANGED:
      Layout(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindow::OnCommand(int id, int code) {
  switch (id) {
    case Command1:
      if (code == BN_CLICKED) form_.Command1_Click();
      break;
    case ChRaster:
      // A choice from the list; typed text (CBN_EDITCHANGE) chooses nothing.
      if (code == CBN_SELCHANGE) form_.ChRaster_Click();
      break;
    case bitcp:
      if (code == BN_CLICKED) form_.bitcp_Click();
      break;
    case TSA_AMFM:
      if (code == BN_CLICKED) form_.TSA_AMFM_Click();
      break;
    case mnuFile:
      form_.mnuFile_Click();
      break;
    default:
      break;
  }
}

HBRUSH MainWindow::OnControlColour(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (Control(static_cast<ControlId>(id)) != control) return nullptr;
  const design::Control& row = RowOf(id);
  if (row.kind == design::Kind::Line) {
    SetBkColor(dc, Colour(row.colour));
    return lineBrush_;
  }
  if (row.kind == design::Kind::Label && row.colour != design::kSystemColour) {
    SetTextColor(dc, Colour(row.colour));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
  }
  if (row.role == design::Role::Output) {
    // Disabled: grey text on the normal field background.
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
  }
  return nullptr;
}

HWND MainWindow::TextBoxControl(TextBox box) const {
  return Control(ControlIdOf(design::IdOf(box)));
}

std::string MainWindow::Text(TextBox box) const {
  return Narrow(ControlText(TextBoxControl(box)));
}

void MainWindow::SetText(TextBox box, std::string_view text) {
  // Writing an edit field redraws it, which costs a fifth of a millisecond
  // under wine: a text the field already holds is not written again.
  HWND control = TextBoxControl(box);
  const std::wstring wide = Widen(text);
  if (ControlText(control) == wide) return;
  SetWindowTextW(control, wide.c_str());
}

void MainWindow::AddRasterEntry(std::string_view text) {
  SendMessageW(Control(ChRaster), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

int MainWindow::RasterIndex() const {
  return static_cast<int>(SendMessageW(Control(ChRaster), CB_GETCURSEL, 0, 0));
}

void MainWindow::SetRasterIndex(int index) {
  // CB_SETCURSEL notifies nobody: the choice is raised here, as a user's is.
  SendMessageW(Control(ChRaster), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  form_.ChRaster_Click();
}

bool MainWindow::Ticked(CheckBox box) const {
  HWND control = Control(ControlIdOf(design::IdOf(box)));
  return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::ShowMessage(MessageIcon icon, std::string_view text) {
  const UINT type =
      static_cast<UINT>(MB_OK | (icon == MessageIcon::Critical ? MB_ICONSTOP : MB_ICONWARNING));
  MessageBoxW(hwnd_, Widen(text).c_str(), Widen(design::kMessageCaption).c_str(), type);
}

void MainWindow::FocusAndSelectAll(TextBox box) {
  HWND control = TextBoxControl(box);
  lastFocus_ = control;
  SetFocus(control);
  SendMessageW(control, EM_SETSEL, 0, -1);
}

tuning::Separators MainWindow::LocaleSeparators() const {
  const auto read = [](LCTYPE type) {
    wchar_t text[8] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 8);
    return Narrow(std::wstring_view(text, length > 0 ? static_cast<std::size_t>(length - 1) : 0));
  };
  return {read(LOCALE_SDECIMAL), read(LOCALE_STHOUSAND)};
}

void MainWindow::Unload() {
  if (hwnd_) DestroyWindow(hwnd_);
}

int RunMessageLoop(MainWindow& window) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) window.ProcessMessage(msg);
  return static_cast<int>(msg.wParam);
}

}  // namespace teilomat::win32
