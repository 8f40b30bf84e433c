// Speed of one press of "Berechnen" in the window: the handler alone, from
// reading the fields to writing the results, without painting. Run from a
// release build, for example with
// --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "window/qt/MainWindow.h"

namespace {

class LoadedWindow {
 public:
  LoadedWindow() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    window_.show();  // loads the window: default results on screen
    button_ = window_.findChild<QPushButton*>(QStringLiteral("Command1"));
    rx_ = window_.findChild<QLineEdit*>(QStringLiteral("tfo"));
  }

  QPushButton* button_ = nullptr;
  QLineEdit* rx_ = nullptr;

 private:
  MainWindow window_;
};

// Pressing again and again: RX is already on the channel grid.
void BM_Berechnen(benchmark::State& bench) {
  LoadedWindow window;
  for (auto _ : bench) window.button_->click();
  if (window.rx_->text() != QStringLiteral("145,675")) bench.SkipWithError("wrong result");
}
BENCHMARK(BM_Berechnen);

// A new RX each time, which the press pulls onto the grid. Includes setting
// the field's text.
void BM_BerechnenNewRx(benchmark::State& bench) {
  LoadedWindow window;
  const QString rx = QStringLiteral("145,68");
  for (auto _ : bench) {
    window.rx_->setText(rx);
    window.button_->click();
  }
  if (window.rx_->text() != QStringLiteral("145,675")) bench.SkipWithError("wrong result");
}
BENCHMARK(BM_BerechnenNewRx);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
