// Start-up of teilomat.exe up to its painted window, then the end: the same
// window and loop as the program (timed by scripts/win32_startup_time.sh).
#include "bench/win32/first_paint.h"
#include "window/win32/MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  teilomat::win32::MainWindow window(instance);
  if (!window.Handle()) return 1;
  window.Show(showCommand);
  HandleUntilPainted([&window](const MSG& msg) { window.ProcessMessage(msg); });
}
