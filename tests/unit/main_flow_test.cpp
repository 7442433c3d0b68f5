#include "cli/main_flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "call_text.h"
#include "cli/data_types.h"
#include "cli/usage.h"
#include "host/app_identity.h"
#include "host/status_codes.h"
#include "support/recording_host.h"
#include "support/row_name.h"
#include "test_support.h"

namespace tolvu {
namespace {

// GoogleTest prints the rows with it, which clang-tidy does not see.
using tolvu_test::operator<<;  // NOLINT(misc-unused-using-decls)

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(u"\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::u16string::npos) {
      return lines;
    }
    start = end + 2;
  }
}

// Every example the usage text gives is a request the tool carries out.
TEST(UsageTest, ExamplesAreCarriedOut) {
  const std::vector<std::u16string> lines = Lines(UsageText());
  const std::u16string program = AppIdentity().title + u" ";
  const auto heading =
      std::find(lines.begin(), lines.end(), std::u16string(u"Examples: "));
  ASSERT_NE(heading, lines.end());
  std::size_t examples = 0;
  // Up to the closing title line, which starts with the program's name too.
  for (auto line = heading + 1; line + 1 < lines.end(); ++line) {
    if (line->rfind(program, 0) != 0) {
      continue;
    }
    ++examples;
    RecordingHost host;
    host.files[u"MyRegFile.reg"] = ImportableFile();
    HostKey key = 0;
    host.RegCreateKeyA(kTestHklm, "Software\\MyKey", &key);
    host.RegSetValueExA(key, "MyDataName", kRegSz, {'v', 0});
    host.RegCloseKey(key);
    const std::u16string commandText = line->substr(program.size());
    EXPECT_EQ(RunCommand(host, commandText), kSuccess);
    EXPECT_TRUE(host.boxes.empty());
  }
  EXPECT_EQ(examples, 9U);
}

struct UsageCase {
  const char* name;
  std::u16string commandText;
};

class UsageBoxTest : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageBoxTest, ShowsOnlyTheUsageBoxAndTouchesNothing) {
  RecordingHost host;
  EXPECT_EQ(RunCommand(host, GetParam().commandText), kErrorInvalidCommandLine);
  ASSERT_EQ(host.boxes.size(), 1U);
  EXPECT_EQ(host.boxes[0].text, UsageText());
  EXPECT_EQ(host.boxes[0].title, u"Tolvu 1.1");
  EXPECT_EQ(host.boxes[0].icon, Icon::Information);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_TRUE(host.launches.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsageBoxTest,
    testing::Values(
        UsageCase{"NoArguments", u""},
        UsageCase{"UnknownCommand", u"list HKCU\\A"},
        UsageCase{"QuotedCommandWord", u"\"add\" HKCU\\A"},
        UsageCase{"UnknownType", u"add HKCU\\A N V REG_MULTI_SZ"},
        UsageCase{"QuotedType", u"add HKCU\\A N V \"REG_DWORD\""},
        UsageCase{"OtherTypeForRemove", u"remove HKCU\\A N V REG_QWORD"},
        UsageCase{"OtherTypeForImport", u"import a.reg x y REG_EXPAND_SZ"},
        UsageCase{"LeadingBackslash", u"add \\Software\\A"},
        UsageCase{"UnknownRoot", u"remove HKEY_LOCAL\\A"},
        UsageCase{"ImportNotReg", u"import file.txt"},
        UsageCase{"ImportQuotedNotReg", u"import \"My File.txt\""},
        UsageCase{"ExportRootZero", u"export MyKey MyRegFile.reg"},
        UsageCase{"ExportNotReg", u"export HKCU\\A file.txt"},
        UsageCase{"ExportNoFile", u"export HKCU\\A"}),
    tolvu_test::ParamName<UsageCase>);

struct RouteCase {
  const char* name;
  std::u16string commandText;
  std::vector<std::string> calls;
  std::size_t launches;
};

class RouteTest : public testing::TestWithParam<RouteCase> {};

TEST_P(RouteTest, ReachesTheRightOperationSilently) {
  RecordingHost host;
  host.AddKey(kTestHkcu, "Existing");
  host.files[u"A.REG"] = ImportableFile();
  host.files[u"none\\a.reg"] = ImportableFile();
  RunCommand(host, GetParam().commandText);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(CallTexts(host.calls), GetParam().calls);
  EXPECT_EQ(host.launches.size(), GetParam().launches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RouteTest,
    testing::Values(
        RouteCase{"AddAnyCase",
                  u"ADD HKCU\\A",
                  {"RegCreateKeyA 80000001 A", "RegCloseKey"},
                  0},
        RouteCase{"Create",
                  u"CrEaTe HKCU\\A",
                  {"RegCreateKeyA 80000001 A", "RegCloseKey"},
                  0},
        RouteCase{"Remove",
                  u"Remove HKCU\\Existing",
                  {"RegOpenKeyA 80000001 Existing",
                   "RegDeleteKeyA 80000001 Existing", "RegCloseKey"},
                  0},
        RouteCase{"Delete",
                  u"DELETE hkcu\\existing x",
                  {"RegOpenKeyA 80000001 existing", "RegDeleteValueA x",
                   "RegCloseKey"},
                  0},
        RouteCase{
            "AddWithoutArguments", u"add", {"RegCreateKeyA 00000000 "}, 0},
        RouteCase{
            "RemoveWithoutArguments", u"remove", {"RegOpenKeyA 00000000 "}, 0},
        RouteCase{"ImportUpperCaseReg", u"IMPORT A.REG", {}, 1},
        RouteCase{"ImportNoneRootPath", u"import none\\a.reg", {}, 1},
        RouteCase{"Export",
                  u"export HKCU\\Existing out.reg",
                  {"RegOpenKeyA 80000001 Existing", "RegCloseKey"},
                  1},
        RouteCase{"ElevenArgumentsUseFirstFive",
                  u"add HKCU\\A N V REG_SZ 6 7 8 9 10 11 REG_NONE",
                  {"RegCreateKeyA 80000001 A",
                   "RegSetValueExA N type 1 length 2", "RegCloseKey"},
                  0}),
    tolvu_test::ParamName<RouteCase>);

TEST(MainFlowTest, RegistryFailureIsSilentWithItsStatus) {
  RecordingHost host;
  EXPECT_EQ(RunCommand(host, u"remove HKCU\\Missing"), kErrorFileNotFound);
  EXPECT_EQ(RunCommand(host, u"add NoRoot"), kErrorInvalidHandle);
  EXPECT_TRUE(host.boxes.empty());
}

TEST(MainFlowTest, SuccessIsSilentWithStatusZero) {
  RecordingHost host;
  host.files[u"a.reg"] = ImportableFile();
  EXPECT_EQ(RunCommand(host, u"add HKCU\\A"), kSuccess);
  EXPECT_EQ(RunCommand(host, u"import a.reg"), kSuccess);
  EXPECT_TRUE(host.boxes.empty());
}

TEST(MainFlowTest, FailureWithoutOwnPathShowsDescriptionThenUsage) {
  // The import has no failure path of its own: a file name the code page
  // cannot hold (half a surrogate pair) reaches the main flow.
  RecordingHost host;
  EXPECT_EQ(RunCommand(host, u"import \xD800.reg"), kErrorInvalidCommandLine);
  ASSERT_EQ(host.boxes.size(), 2U);
  EXPECT_EQ(host.boxes[0].icon, Icon::None);
  EXPECT_EQ(host.boxes[0].title, u"Tolvu");
  EXPECT_NE(host.boxes[0].text.find(u"U+D800"), std::u16string::npos);
  EXPECT_NE(host.boxes[0].text.find(u"file name"), std::u16string::npos);
  EXPECT_EQ(host.boxes[1].text, UsageText());
  EXPECT_EQ(host.boxes[1].icon, Icon::Information);
  EXPECT_TRUE(host.launches.empty());
}

}  // namespace
}  // namespace tolvu
