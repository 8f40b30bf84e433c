// The yardstick for start-up: a bare Win32 window with a menu bar and the
// same client area (400 x 398 at 96 dpi), ending once it has painted.
#include "bench/win32/first_paint.h"

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = L"Bare";
  RegisterClassExW(&windowClass);

  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 1, L"&Ende");
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, 400, 398};
  AdjustWindowRectEx(&frame, style, TRUE, 0);
  HWND window = CreateWindowExW(0, L"Bare", L"Bare", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, menu,
                                instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  HandleUntilPainted([](const MSG& msg) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  });
}
