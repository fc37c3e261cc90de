// Real input, as a user makes it: through SendInput, so it reaches whichever window is under the
// pointer or has the keyboard, in whatever process.
#pragma once

#include <windows.h>

namespace testbed {

void MoveMouseTo(int x, int y);
// button: VK_LBUTTON or VK_RBUTTON. Held apart, for presses released elsewhere and drags.
void PressMouse(int button);
void ReleaseMouse(int button);
void Click(int button);
// The pointer to the middle of rect, then a click of button.
void ClickAt(const RECT& rect, int button = VK_LBUTTON);
void PressKey(WORD virtualKey);

}  // namespace testbed
