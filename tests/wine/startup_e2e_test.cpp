// rubblit.scr started the way the host starts it: which modes end at once, how the preview
// embeds, and the refusal to run beside another instance's window.
#include <gtest/gtest.h>

#include <string>

#include "wine/testbed/host_window.h"
#include "wine/testbed/saver_process.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/temp_folder.h"

namespace {

// Generous: a Wine prefix whose desktop is starting up delays a process by seconds.
constexpr DWORD kAtOnce = 15000;
const wchar_t* const kPreviewCaption = L"Preview Window";

class StartupTest : public testbed::SaverTest {
 protected:
  testbed::TempFolder folder_;
  std::wstring saver_ = folder_.CopySaverHere();

  static void ExpectEndsAtOnce(const testbed::SaverProcess& process, const std::wstring& arguments) {
    ASSERT_TRUE(process.started()) << arguments;
    EXPECT_TRUE(process.WaitForExit(kAtOnce)) << arguments;
    EXPECT_EQ(process.ExitCode(), 0u) << arguments;
  }

  // Waits for the saver's preview to be shown inside host (it is shown last, once placed and
  // sized); nullptr when none came.
  static HWND WaitForPreviewIn(const testbed::HostWindow& host, const testbed::SaverProcess& process) {
    HWND preview = nullptr;
    testbed::PumpUntil(
        [&] {
          preview = testbed::FindChildOfProcess(host.get(), process.id(), kPreviewCaption);
          return (preview != nullptr && ::IsWindowVisible(preview)) || process.WaitForExit(0);
        },
        kAtOnce);
    return preview;
  }
};

TEST_F(StartupTest, UnrecognisedLettersAndThePasswordModeEndAtOnce) {
  for (const wchar_t* arguments :
       {L"/x", L" /s", L"/q 12", L"//", L"-1", L"/\u3042", L"/a 1234", L"/a", L"/a abc"}) {
    testbed::SaverProcess process(saver_, arguments);
    ExpectEndsAtOnce(process, arguments);
  }
}

TEST_F(StartupTest, PasswordModeOnTheOlderPlatformHandsTheHostsWindowToThePasswordServiceAndEnds) {
  testbed::OlderPlatform older(true);
  ASSERT_TRUE(::CopyFileW((testbed::BuildFolder() + L"\\password.cpl").c_str(), folder_.File(L"mpr.dll").c_str(),
                          FALSE));
  const std::pair<const wchar_t*, const char*> cases[] = {
      {L"/a 1234", "change SCRSAVE 1234\r\n"}, {L"/a:77", "change SCRSAVE 77\r\n"}, {L"/a abc", ""}, {L"/a", ""}};
  for (const auto& [arguments, calls] : cases) {
    ::DeleteFileW(folder_.File(L"password-calls.txt").c_str());
    testbed::SaverProcess process(saver_, arguments);
    ExpectEndsAtOnce(process, arguments);
    EXPECT_EQ(folder_.ReadBytes(L"password-calls.txt"), calls) << arguments;
  }
}

TEST_F(StartupTest, PreviewBecomesAChildOfTheHostAndEndsWithIt) {
  for (const wchar_t* separator : {L" ", L":"}) {
    testbed::HostWindow pane(L"pane", 30, 30, 200, 150);
    testbed::SaverProcess process(saver_, std::wstring(L"/p") + separator + pane.HandleText());
    HWND preview = WaitForPreviewIn(pane, process);
    ASSERT_NE(preview, nullptr) << separator;
    EXPECT_FALSE(process.WaitForExit(200));
    pane.Destroy();
    EXPECT_TRUE(process.WaitForExit(kAtOnce));
    EXPECT_EQ(process.ExitCode(), 0u);
  }
}

TEST_F(StartupTest, EveryModeEndsAtOnceBesideAnotherInstancesWindow) {
  for (const wchar_t* caption : {L"Rubblit(main)", L"Rubblitの設定"}) {
    testbed::HostWindow other(caption, 0, 0, 10, 10, false);
    testbed::HostWindow pane(L"pane", 30, 30, 200, 150);
    for (const std::wstring& arguments :
         {std::wstring(L"/p ") + pane.HandleText(), std::wstring(L"/p"), std::wstring(L"/s"), std::wstring(),
          std::wstring(L"/c"), std::wstring(L"/a 1"), std::wstring(L"/x")}) {
      testbed::SaverProcess process(saver_, arguments);
      ExpectEndsAtOnce(process, arguments);
      EXPECT_EQ(testbed::FindChildOfProcess(pane.get(), process.id(), kPreviewCaption), nullptr);
    }
  }
}

TEST_F(StartupTest, PreviewsDoNotStopALaterStart) {
  testbed::HostWindow first(L"pane", 30, 30, 200, 150);
  testbed::HostWindow second(L"pane", 240, 30, 200, 150);
  testbed::SaverProcess one(saver_, L"/p " + first.HandleText());
  ASSERT_NE(WaitForPreviewIn(first, one), nullptr);
  testbed::SaverProcess two(saver_, L"/p " + second.HandleText());
  EXPECT_NE(WaitForPreviewIn(second, two), nullptr);
}

}  // namespace
