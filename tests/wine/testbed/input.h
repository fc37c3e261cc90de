// Real input, as a user makes it: through SendInput, so it reaches whichever window is under the
// pointer or has the keyboard, in whatever process.
#pragma once

#include <windows.h>

namespace testbed {

void MoveMouseTo(int x, int y);
// button: VK_LBUTTON, VK_RBUTTON or VK_MBUTTON.
void Click(int button);
void PressKey(WORD virtualKey);

}  // namespace testbed
