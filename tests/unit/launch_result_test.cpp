#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/status_codes.h"
#include "support/recording_host.h"
#include "test_support.h"

namespace tolvu {
namespace {

// What a script sees when the shell answers an import's launch with a code
// (and a failed one with its last error): above 32 the editor runs and
// nothing is shown; otherwise the "Error" box with the reason, and a Win32
// status that is never 0.
struct LaunchCase {
  std::int32_t code;
  std::u16string message;  // empty: no box
  std::uint32_t status;
  std::uint32_t lastError = 0;
};

constexpr const char16_t* kDeclined =
    u"The registry editor was not allowed to run: elevation was declined.";
constexpr const char16_t* kBlocked =
    u"A policy blocks the registry editor (AppLocker, Windows Defender "
    u"Application Control or a software restriction policy).";

class LaunchResultTest : public testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchResultTest, ShowsTheReasonAndEndsWithItsStatus) {
  const LaunchCase& c = GetParam();
  RecordingHost host;
  host.files[u"a.reg"] = ImportableFile();
  host.editor.launchResult = c.code;
  host.editor.launchError = c.lastError;
  EXPECT_EQ(RunCommand(host, u"import a.reg"), c.status);
  ASSERT_EQ(host.boxes.size(), c.message.empty() ? 0U : 1U);
  if (!c.message.empty()) {
    EXPECT_EQ(host.boxes[0].text, c.message);
    EXPECT_EQ(host.boxes[0].title, u"Error");
    EXPECT_EQ(host.boxes[0].icon, Icon::Exclamation);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LaunchResultTest,
    testing::Values(LaunchCase{0, u"Out of memory or resources",
                               kErrorOutOfMemory},
                    LaunchCase{2, u"File not found", kErrorFileNotFound},
                    LaunchCase{8, u"Out of memory", kErrorNotEnoughMemory},
                    LaunchCase{28, u"DDE timeout", kErrorDdeFail},
                    LaunchCase{32, u"DLL not found", kErrorDllNotFound},
                    LaunchCase{33, u"", kSuccess},
                    LaunchCase{2147483647, u"", kSuccess},
                    // Codes the shell does not name are Win32 errors already.
                    LaunchCase{1, u"Unknown error 1", 1},
                    LaunchCase{25, u"Unknown error 25", 25},
                    LaunchCase{-1, u"Unknown error -1", kErrorGenFailure},
                    LaunchCase{-2147483647 - 1, u"Unknown error -2147483648",
                               kErrorGenFailure},
                    // The user said no to the editor's elevation prompt; the
                    // shell's code for it is rough, or none.
                    LaunchCase{5, kDeclined, 1223, 1223},
                    LaunchCase{0, kDeclined, 1223, 1223},
                    // AppLocker, a software restriction policy, App Control.
                    LaunchCase{5, kBlocked, 1260, 1260},
                    LaunchCase{0, kBlocked, 1259, 1259},
                    LaunchCase{0, kBlocked, 4551, 4551},
                    // Otherwise the shell's reason, with the call's status.
                    LaunchCase{5, u"File access denied", 577, 577},
                    LaunchCase{25, u"Unknown error 25", 1392, 1392},
                    // Without one, the call's.
                    LaunchCase{0, u"File not found", 2, 2},
                    LaunchCase{0, u"Unknown error 1392", 1392, 1392}));

}  // namespace
}  // namespace tolvu
