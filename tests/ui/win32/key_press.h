// A key pressed in a window of the front end, as its message loop takes a
// key down from the queue: shown to the window's filter first (its
// accelerators, Tab between the controls), else translated and dispatched
// to the focused control.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace brannock::ui::testing {

// `key` pressed with the keys `held` (VK_SHIFT, VK_CONTROL) down; whether
// the window's filter took it. Runs the messages it caused.
template <class Window>
bool PressKey(Window& window, WPARAM key, std::initializer_list<int> held = {}) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  for (int k : held) keys[k] = 0x80;
  SetKeyboardState(keys);
  MSG msg{GetFocus(), WM_KEYDOWN, key, 0, GetTickCount(), {}};
  const bool taken = window.FilterMessage(msg);
  if (!taken) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  for (int k : held) keys[k] = 0;
  SetKeyboardState(keys);
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return taken;
}

}  // namespace brannock::ui::testing
