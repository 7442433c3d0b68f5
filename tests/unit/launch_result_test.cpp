#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/status_codes.h"
#include "support/recording_host.h"
#include "test_support.h"

namespace tolvu {
namespace {

// What a script sees when the shell answers an import's launch with a code:
// above 32 the editor runs and nothing is shown; otherwise the "Error" box
// with the shell's reason, and a Win32 status that is never 0.
struct LaunchCase {
  std::int32_t code;
  std::u16string message;  // empty: no box
  std::uint32_t status;
};

class LaunchResultTest : public testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchResultTest, ShowsTheReasonAndEndsWithItsStatus) {
  const LaunchCase& c = GetParam();
  RecordingHost host;
  host.files[u"a.reg"] = ImportableFile();
  host.editor.launchResult = c.code;
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
                               kErrorGenFailure}));

}  // namespace
}  // namespace tolvu
