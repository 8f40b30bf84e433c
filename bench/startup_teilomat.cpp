// The program as it starts, ending after its window's first paint.
#include <QApplication>

#include "bench/first_paint.h"
#include "window/qt/MainWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  MainWindow window;
  const QuitAfterFirstPaint quit(window);
  window.show();
  return QApplication::exec();
}
