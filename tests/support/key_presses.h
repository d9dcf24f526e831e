// Key presses as the keyboard makes them (Windows only), for tests of what a window does with
// them.
#pragma once

#include <windows.h>

#include <vector>

// Presses the keys of a chord and lets them go: each goes down in turn, so the ones before the
// last are held as modifiers while it goes down, and they come up in the reverse order.
inline void PressChord(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
