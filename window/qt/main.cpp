// Teilomat: creates the window, shows it and runs until it is closed.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "window/qt/MainWindow.h"

namespace {

// On X11 and Wayland desktops Qt aborts with a long message when there is no
// display to connect to. Say so in one line instead; an explicit platform
// (QT_QPA_PLATFORM or -platform) is left to Qt.
bool DisplayMissing(int argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0) return false;
  }
  return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
  (void)argc;
  (void)argv;
  return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (DisplayMissing(argc, argv)) {
    std::fputs(
        "teilomat: Kein Bildschirm gefunden (DISPLAY und WAYLAND_DISPLAY sind nicht gesetzt).\n",
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  MainWindow window;
  window.show();
  return QApplication::exec();
}
