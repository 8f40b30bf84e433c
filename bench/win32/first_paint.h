// For timing start-up: handles the messages of a window just shown until the
// queue is empty, that is until the window and its controls have painted;
// then the process ends at once. Tearing the window down is no part of
// start-up, and the bare window has far less to tear down.
#pragma once

#include <windows.h>

template <typename Handle>
[[noreturn]] void HandleUntilPainted(Handle handle) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) handle(msg);
  ExitProcess(0);
}
