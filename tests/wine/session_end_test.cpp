// EndSaver's own steps, in this process: the cursor and the system's flags it puts back, the loop
// it stops and the order of unloading and ending.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "startup/session_end.h"

namespace {

// ShowCursor's counter as it stands now.
int CursorCount() {
  int count = ::ShowCursor(TRUE) - 1;
  ::ShowCursor(FALSE);
  return count;
}

BOOL ScreenSaveActive() {
  BOOL active = FALSE;
  ::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  return active;
}

}  // namespace

TEST(EndSaver, PutsTheCursorAndTheSaverSettingBackThenUnloadsAndEnds) {
  struct Case {
    const wchar_t* argumentString;
    int cursorChange;  // the saver mode hid the cursor at start and shows it again here
  } cases[] = {{L"/s", 1}, {L"", 0}, {L"x", 0}};
  for (const Case& c : cases) {
    ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    int cursorBefore = CursorCount();
    std::int16_t loopActive = -1;
    std::vector<std::string> steps;
    SaverSession session;
    session.argumentString = c.argumentString;
    session.loopActive = &loopActive;
    session.unloadForm = [&] { steps.push_back(loopActive == 0 ? "unload after stop" : "unload while running"); };
    session.terminate = [&] { steps.push_back("terminate"); };
    EndSaver(session);
    EXPECT_EQ(CursorCount() - cursorBefore, c.cursorChange) << c.argumentString;
    EXPECT_TRUE(ScreenSaveActive()) << c.argumentString;
    EXPECT_EQ(steps, (std::vector<std::string>{"unload after stop", "terminate"})) << c.argumentString;
    while (CursorCount() > cursorBefore) ::ShowCursor(FALSE);
  }
}
