// The yardstick for start-up: a bare Qt window of the same size with a menu
// bar, ending after its first paint.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

#include "bench/first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.menuBar()->addAction(QStringLiteral("&Ende"));
  window.setCentralWidget(new QWidget);
  window.centralWidget()->setFixedSize(400, 398);
  const QuitAfterFirstPaint quit(window);
  window.show();
  return QApplication::exec();
}
