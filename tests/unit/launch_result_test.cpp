#include "regfiles/launch_result.h"

#include <gtest/gtest.h>

#include <string>

#include "host/status_codes.h"
#include "support/recording_host.h"

namespace tolvu {
namespace {

struct LaunchCase {
  std::int32_t code;
  std::u16string message;
  std::uint32_t status;
};

class ReportLaunchResultTest : public testing::TestWithParam<LaunchCase> {};

TEST_P(ReportLaunchResultTest, ShowsTheErrorBox) {
  const LaunchCase& c = GetParam();
  RecordingHost host;
  EXPECT_EQ(ReportLaunchResult(host, c.code), c.status);
  ASSERT_EQ(host.boxes.size(), 1U);
  EXPECT_EQ(host.boxes[0].text, c.message);
  EXPECT_EQ(host.boxes[0].title, u"Error");
  EXPECT_EQ(host.boxes[0].icon, Icon::Exclamation);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportLaunchResultTest,
    testing::Values(
        LaunchCase{0, u"Out of memory or resources", kErrorOutOfMemory},
        LaunchCase{2, u"File not found", kErrorFileNotFound},
        LaunchCase{3, u"Path not found", kErrorPathNotFound},
        LaunchCase{5, u"File access denied", kErrorAccessDenied},
        LaunchCase{8, u"Out of memory", kErrorNotEnoughMemory},
        LaunchCase{11, u"Invalid .EXE file", kErrorBadFormat},
        LaunchCase{26, u"Sharing violation", kErrorSharingViolation},
        LaunchCase{27, u"Invalid file name association", kErrorNoAssociation},
        LaunchCase{28, u"DDE timeout", kErrorDdeFail},
        LaunchCase{29, u"DDE transaction failed", kErrorDdeFail},
        LaunchCase{30, u"DDE busy", kErrorDdeFail},
        LaunchCase{31, u"No associated application", kErrorNoAssociation},
        LaunchCase{32, u"DLL not found", kErrorDllNotFound}));

INSTANTIATE_TEST_SUITE_P(
    Unknown, ReportLaunchResultTest,
    testing::Values(LaunchCase{1, u"Unknown error 1", 1},
                    LaunchCase{4, u"Unknown error 4", 4},
                    LaunchCase{6, u"Unknown error 6", 6},
                    LaunchCase{7, u"Unknown error 7", 7},
                    LaunchCase{9, u"Unknown error 9", 9},
                    LaunchCase{10, u"Unknown error 10", 10},
                    LaunchCase{12, u"Unknown error 12", 12},
                    LaunchCase{25, u"Unknown error 25", 25},
                    LaunchCase{-1, u"Unknown error -1", kErrorGenFailure},
                    LaunchCase{-2147483647 - 1, u"Unknown error -2147483648",
                               kErrorGenFailure}));

TEST(ReportLaunchResultTest, StartedProgramShowsNothing) {
  for (const std::int32_t code : {33, 34, 42, 2147483647}) {
    RecordingHost host;
    EXPECT_EQ(ReportLaunchResult(host, code), kSuccess) << code;
    EXPECT_TRUE(host.boxes.empty()) << code;
  }
}

TEST(ReportLaunchResultTest, EveryUnknownCodeUpTo32NamesItsNumber) {
  const std::int32_t known[] = {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32};
  for (std::int32_t code = 1; code <= 32; ++code) {
    bool isKnown = false;
    for (const std::int32_t k : known) {
      isKnown = isKnown || k == code;
    }
    RecordingHost host;
    EXPECT_NE(ReportLaunchResult(host, code), kSuccess) << code;
    ASSERT_EQ(host.boxes.size(), 1U) << code;
    EXPECT_EQ(host.boxes[0].text.rfind(u"Unknown error ", 0) == 0, !isKnown)
        << code;
  }
}

}  // namespace
}  // namespace tolvu
