#include "wine/testbed/input.h"

namespace testbed {

void MoveMouseTo(int x, int y) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute coordinates run 0 .. 65535 over the screen; rounding up lands on the pixel itself.
  input.mi.dx = (x * 65536 + width - 1) / width;
  input.mi.dy = (y * 65536 + height - 1) / height;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ::SendInput(1, &input, sizeof input);
}

namespace {

void SendButton(int button, bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  const bool right = button == VK_RBUTTON;
  input.mi.dwFlags = down ? (right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN)
                          : (right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  ::SendInput(1, &input, sizeof input);
}

}  // namespace

void PressMouse(int button) { SendButton(button, true); }
void ReleaseMouse(int button) { SendButton(button, false); }

void Click(int button) {
  PressMouse(button);
  ReleaseMouse(button);
}

void ClickAt(const RECT& rect, int button) {
  MoveMouseTo((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  Click(button);
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof inputs[0]);
}

}  // namespace testbed
