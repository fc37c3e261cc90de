// rubblit.scr started the way the host starts it: which modes end at once, the preview in the
// host's pane, and the refusal to run beside another instance's window.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "wine/testbed/host_window.h"
#include "wine/testbed/saver_process.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

// Generous: a Wine prefix whose desktop is starting up delays a process by seconds.
constexpr DWORD kAtOnce = 15000;

class StartupTest : public SaverTest {
 protected:
  TempFolder folder_;
  std::wstring saver_ = folder_.CopySaverHere();

  void ExpectEndsAtOnce(const std::wstring& arguments) const {
    SaverProcess process(saver_, arguments);
    EXPECT_TRUE(process.WaitForExit(kAtOnce)) << arguments;
    EXPECT_EQ(process.ExitCode(), 0u) << arguments;
  }

  // Waits for the saver's preview to be shown inside pane (it is shown last, once placed and
  // sized); nullptr when none came.
  static HWND WaitForPreviewIn(const HostWindow& pane, const SaverProcess& process) {
    HWND preview = nullptr;
    PumpUntil(
        [&] {
          preview = FindChildOfProcess(pane.get(), process.id(), L"Preview Window");
          return (preview != nullptr && ::IsWindowVisible(preview)) || process.WaitForExit(0);
        },
        kAtOnce);
    return preview;
  }
};

// The password change is the older platform's only: the stand-in mpr.dll records any call, and
// only there does /a make one.
TEST_F(StartupTest, AnUnknownLetterAndThePasswordModeEndAtOnceAndOnlyTheOlderPlatformChangesThePassword) {
  ExpectEndsAtOnce(L"/x");
  ASSERT_TRUE(::CopyFileW((BuildFolder() + L"\\password.cpl").c_str(), folder_.File(L"mpr.dll").c_str(), FALSE));
  StandInMpr mpr;
  ExpectEndsAtOnce(L"/a 1234");
  EXPECT_FALSE(folder_.Exists(L"password-calls.txt"));
  OlderPlatform older;
  ExpectEndsAtOnce(L"/a 1234");
  EXPECT_EQ(folder_.ReadBytes(L"password-calls.txt"), "change SCRSAVE 1234\r\n");
}

// A running preview is no other instance: a later start, such as the next preview, goes on.
TEST_F(StartupTest, PreviewBecomesAChildOfThePaneLetsALaterPreviewStartAndEndsWithThePane) {
  HostWindow first(L"pane", 30, 30, 200, 150), second(L"pane", 240, 30, 200, 150);
  SaverProcess one(saver_, L"/p " + first.HandleText());
  ASSERT_NE(WaitForPreviewIn(first, one), nullptr);
  SaverProcess two(saver_, L"/p " + second.HandleText());
  EXPECT_NE(WaitForPreviewIn(second, two), nullptr);
  EXPECT_FALSE(one.WaitForExit(0));
  first.Destroy();
  EXPECT_TRUE(one.WaitForExit(kAtOnce));
  EXPECT_EQ(one.ExitCode(), 0u);
}

// The check comes before the mode is read. A preview would otherwise stay in its pane.
TEST_F(StartupTest, AStartBesideAnotherInstancesWindowEndsAtOnce) {
  HostWindow pane(L"pane", 30, 30, 200, 150);
  const std::pair<const wchar_t*, std::wstring> cases[] = {{L"Rubblit(main)", L"/p " + pane.HandleText()},
                                                           {L"Rubblitの設定", L"/s"}};
  for (const auto& [caption, arguments] : cases) {
    HostWindow other(caption, 0, 0, 10, 10, false);
    ExpectEndsAtOnce(arguments);
  }
}

}  // namespace
