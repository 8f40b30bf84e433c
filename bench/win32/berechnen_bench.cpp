// Speed of one press of "Berechnen" in the Win32 window: the handler alone,
// from reading the fields to writing the results, without painting. Prints
// the median and the fastest of 15 rounds, in microseconds per press (the
// typing of a new RX before a press is not timed). Run
// under wine on a display, for example
//   scripts/wine_run.sh build/windows/wine build/windows/bench/win32/win32_berechnen_bench.exe
#include <algorithm>
#include <cstdio>
#include <vector>

#include "window/win32/MainWindow.h"

namespace {

using teilomat::win32::Command1;
using teilomat::win32::MainWindow;
using teilomat::win32::tfo;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Microseconds per press: median and fastest of the rounds. `type` runs
// before each press, untimed: the user's typing.
template <typename Type, typename Press>
void Time(const char* name, MainWindow& window, Type type, Press press) {
  constexpr int kRounds = 15;
  constexpr int kPresses = 200;
  std::vector<double> perPress;
  for (int round = 0; round < kRounds; ++round) {
    double seconds = 0;
    for (int i = 0; i < kPresses; ++i) {
      type();
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      press();
      QueryPerformanceCounter(&end);
      seconds += Seconds(start, end);
    }
    perPress.push_back(1e6 * seconds / kPresses);
  }
  std::sort(perPress.begin(), perPress.end());
  wchar_t rx[32] = {};
  GetWindowTextW(window.Control(tfo), rx, 32);
  std::printf("%-22s median %8.1f us  fastest %8.1f us  (RX afterwards %s)\n", name,
              perPress[kRounds / 2], perPress.front(), teilomat::win32::Narrow(rx).c_str());
}

}  // namespace

int main() {
  MainWindow window(GetModuleHandleW(nullptr));
  if (!window.Handle()) {
    std::fputs("win32_berechnen_bench: no window (is there a display?)\n", stderr);
    return 1;
  }
  window.Show(SW_SHOWNORMAL);
  HWND hwnd = window.Handle();
  HWND button = window.Control(Command1);
  const auto press = [&] {
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(Command1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  };
  // Pressing again and again: RX is already on the channel grid.
  Time(
      "Berechnen", window, [] {}, press);
  // A new RX each time, which the press pulls onto the grid: RX changes.
  const bool comma = window.LocaleSeparators().decimal == ",";
  const std::wstring rx = teilomat::win32::Widen(comma ? "145,68" : "145.68");
  Time(
      "Berechnen, new RX", window, [&] { SetWindowTextW(window.Control(tfo), rx.c_str()); }, press);
  // Two bands in turn: RX, VCO and all three bytes change at every press.
  const std::wstring bands[] = {teilomat::win32::Widen(comma ? "145,68" : "145.68"),
                                teilomat::win32::Widen(comma ? "435,1" : "435.1")};
  int band = 0;
  Time(
      "Berechnen, new band", window,
      [&] { SetWindowTextW(window.Control(tfo), bands[band ^= 1].c_str()); }, press);
  return 0;
}
