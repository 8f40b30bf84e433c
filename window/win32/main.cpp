// Teilomat for Windows: creates the window, shows it and runs until it is
// closed.
#include "window/win32/MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  teilomat::win32::MainWindow window(instance);
  if (!window.Handle()) return 1;
  window.Show(showCommand);
  return teilomat::win32::RunMessageLoop(window);
}
