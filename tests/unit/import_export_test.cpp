#include "regfiles/import_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/status_codes.h"
#include "support/recording_host.h"
#include "test_support.h"

namespace tolvu {
namespace {

constexpr const char* kEditor = "C:\\Windows\\regedit.exe";

struct LaunchCase {
  const char* name;
  std::u16string commandText;
  std::string parameters;
};

class EditorLaunchTest : public testing::TestWithParam<LaunchCase> {};

TEST_P(EditorLaunchTest, LaunchesTheEditorByFullPathHidden) {
  RecordingHost host;
  host.files[u"MyRegFile.reg"] = TestFile{};
  EXPECT_EQ(RunCommand(host, GetParam().commandText), kSuccess);
  EXPECT_TRUE(host.boxes.empty());
  ASSERT_EQ(host.launches.size(), 1U);
  EXPECT_EQ(host.launches[0].file, kEditor);
  EXPECT_EQ(host.launches[0].parameters, GetParam().parameters);
  EXPECT_EQ(host.launches[0].showMode, 0);
  EXPECT_TRUE(host.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorLaunchTest,
    testing::Values(
        LaunchCase{"ImportExample", u"import MyRegFile.reg",
                   "/s MyRegFile.reg"},
        LaunchCase{"ImportUpperCase", u"IMPORT SETTINGS.REG",
                   "/s SETTINGS.REG"},
        LaunchCase{"ImportBlankInsideQuotes", u"import My\" \"File.reg",
                   "/s \"My File.reg\""},
        LaunchCase{"ImportQuotedStem", u"import \"My Settings\".reg",
                   "/s \"My Settings.reg\""},
        LaunchCase{"ImportQuotesWithoutBlank", u"import \"a\"b.reg",
                   "/s ab.reg"},
        LaunchCase{"ExportExample",
                   u"export HKLM\\Software\\MyKey MyRegFile.reg",
                   "/e MyRegFile.reg HKEY_LOCAL_MACHINE\\Software\\MyKey"},
        LaunchCase{"ExportLongRootName", u"Export hkey_users\\S-1 out.Reg",
                   "/e out.Reg HKEY_USERS\\S-1"},
        LaunchCase{"ExportKeyEndingInBackslash", u"export HKCU\\ out.reg",
                   "/e out.reg HKEY_CURRENT_USER\\"},
        LaunchCase{"ExportKeyWithBlankQuoted",
                   u"export \"HKLM\\Software\\My Key\" MyRegFile.reg",
                   "/e MyRegFile.reg \"HKEY_LOCAL_MACHINE\\Software\\My Key\""},
        LaunchCase{"ExportTabQuotedAndTrailingBackslashDoubled",
                   u"export \"HKCU\\A\tB\\\" out.reg",
                   "/e out.reg \"HKEY_CURRENT_USER\\A\tB\\\\\""},
        // Unquoted, the editor would read HKEY_CURRENT_USER\abc.
        LaunchCase{"ExportKeyWithQuotesNoBlank", u"export HKCU\\a\"b\"c x.reg",
                   "/e x.reg \"HKEY_CURRENT_USER\\a\\\"b\\\"c\""},
        LaunchCase{"ExportFileNameWithBlank",
                   u"export HKCU\\A C:\\My\" \"Dir\\x.reg",
                   "/e \"C:\\My Dir\\x.reg\" HKEY_CURRENT_USER\\A"},
        LaunchCase{"ExportQuotedStem",
                   u"export HKCU\\Software\\X \"My Export\".reg",
                   "/e \"My Export.reg\" HKEY_CURRENT_USER\\Software\\X"}),
    [](const testing::TestParamInfo<LaunchCase>& info) {
      return std::string(info.param.name);
    });

TEST(ExportKeyTest, DeletesOnlyAnExistingTargetBeforeLaunch) {
  RecordingHost host;
  host.files[u"MyRegFile.reg"] = TestFile{};
  host.files[u"Other.reg"] = TestFile{};
  RunCommand(host, u"export HKLM\\Software\\MyKey MyRegFile.reg");
  EXPECT_EQ(host.deletedFiles, std::vector<std::u16string>{u"MyRegFile.reg"});
  EXPECT_EQ(host.files.count(u"Other.reg"), 1U);

  RecordingHost fresh;
  RunCommand(fresh, u"export HKLM\\Software\\MyKey New.reg");
  EXPECT_TRUE(fresh.deletedFiles.empty());
  EXPECT_EQ(fresh.launches.size(), 1U);
}

TEST(ExportKeyTest, DeletesTheFileAQuotedNameMeans) {
  for (const std::u16string typed :
       {u"\"My Export\".reg", u"My\" \"Export.reg", u"\"My Export.reg"}) {
    RecordingHost host;
    host.files[u"My Export.reg"] = TestFile{};
    RunCommand(host, u"export HKCU\\Software\\X " + typed);
    EXPECT_EQ(host.deletedFiles, std::vector<std::u16string>{u"My Export.reg"});
    EXPECT_EQ(host.launches.size(), 1U);
  }
}

TEST(ExportKeyTest, HiddenSystemOrFolderTargetIsNotDeleted) {
  for (const std::uint32_t attributes :
       {kAttributeHidden, kAttributeSystem, kAttributeDirectory}) {
    RecordingHost host;
    host.files[u"t.reg"] = TestFile{attributes, 0};
    RunCommand(host, u"export HKCU\\A t.reg");
    EXPECT_TRUE(host.deletedFiles.empty()) << attributes;
    EXPECT_EQ(host.launches.size(), 1U) << attributes;
  }
}

TEST(ExportKeyTest, RootZeroShowsUsageAndDeletesNothing) {
  RecordingHost host;
  host.files[u"MyRegFile.reg"] = TestFile{};
  EXPECT_EQ(RunCommand(host, u"export MyKey MyRegFile.reg"),
            kErrorInvalidCommandLine);
  EXPECT_TRUE(host.deletedFiles.empty());
  EXPECT_TRUE(host.launches.empty());
  ASSERT_EQ(host.boxes.size(), 1U);
  EXPECT_EQ(host.boxes[0].icon, Icon::Information);
}

struct ExportFailureCase {
  const char* name;
  std::u16string commandText;
  TestFile existing;  // present as "x.reg" in every case
  std::uint32_t status;
  std::u16string mention;
};

class ExportFailureTest : public testing::TestWithParam<ExportFailureCase> {};

TEST_P(ExportFailureTest, DescribesDeletesNothingLaunchesNothing) {
  const ExportFailureCase& c = GetParam();
  RecordingHost host;
  host.files[u"x.reg"] = c.existing;
  host.files[u"a.reg"] = TestFile{};
  EXPECT_EQ(RunCommand(host, c.commandText), c.status);
  ASSERT_EQ(host.boxes.size(), 1U);  // no usage box after it
  EXPECT_EQ(host.boxes[0].icon, Icon::None);
  EXPECT_EQ(host.boxes[0].title, u"Tolvu");
  EXPECT_NE(host.boxes[0].text.find(c.mention), std::u16string::npos);
  EXPECT_TRUE(host.deletedFiles.empty());
  EXPECT_EQ(host.files.size(), 3U);  // the two and the editor
  EXPECT_TRUE(host.launches.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportFailureTest,
    testing::Values(
        ExportFailureCase{"Star", u"export HKCU\\A *.reg", TestFile{},
                          kErrorInvalidName, u"\"*.reg\""},
        ExportFailureCase{"QuestionMark", u"export HKCU\\A ?.reg", TestFile{},
                          kErrorInvalidName, u"wildcard"},
        ExportFailureCase{"ReadOnlyTarget", u"export HKCU\\A x.reg",
                          TestFile{kAttributeReadOnly, 0}, kErrorAccessDenied,
                          u"\"x.reg\""},
        ExportFailureCase{
            "ReadOnlyTargetNamedInQuotes", u"export HKCU\\A \"x\".reg",
            TestFile{kAttributeReadOnly, 0}, kErrorAccessDenied, u"\"x.reg\""},
        ExportFailureCase{"TargetInUse", u"export HKCU\\A x.reg",
                          TestFile{0, kErrorSharingViolation},
                          kErrorSharingViolation, u"another program"},
        ExportFailureCase{"UnrepresentableKey", u"export HKCU\\\u0416 x.reg",
                          TestFile{}, kErrorNoUnicodeTranslation, u"U+0416"},
        ExportFailureCase{"UnrepresentableFile", u"export HKCU\\A \u0416x.reg",
                          TestFile{}, kErrorNoUnicodeTranslation,
                          u"file name"}),
    [](const testing::TestParamInfo<ExportFailureCase>& info) {
      return std::string(info.param.name);
    });

TEST(ImportExportTest, FailedLaunchReportsAndReturnsItsStatus) {
  RecordingHost host;
  host.launchResult = 2;
  EXPECT_EQ(RunCommand(host, u"import MyRegFile.reg"), kErrorFileNotFound);
  ASSERT_EQ(host.boxes.size(), 1U);
  EXPECT_EQ(host.boxes[0].text, u"File not found");
  EXPECT_EQ(host.boxes[0].title, u"Error");
  EXPECT_EQ(host.boxes[0].icon, Icon::Exclamation);

  RecordingHost exportHost;
  exportHost.launchResult = 5;
  EXPECT_EQ(RunCommand(exportHost, u"export HKCU\\A a.reg"),
            kErrorAccessDenied);
  ASSERT_EQ(exportHost.boxes.size(), 1U);
  EXPECT_EQ(exportHost.boxes[0].text, u"File access denied");
}

// Only a file is launched: the shell would open a folder in a file window.
TEST(ImportExportTest, EditorThatIsNoFileIsNotFoundAndNotLaunched) {
  for (const std::u16string command :
       {u"import a.reg", u"export HKCU\\A a.reg"}) {
    for (const bool folder : {true, false}) {
      RecordingHost host;
      host.files.erase(kTestEditorPath);
      if (folder) {
        host.files[kTestEditorPath] = TestFile{kAttributeDirectory, 0};
      }
      EXPECT_EQ(RunCommand(host, command), kErrorFileNotFound);
      ASSERT_EQ(host.boxes.size(), 1U);
      EXPECT_EQ(host.boxes[0].text, u"File not found");
      EXPECT_EQ(host.boxes[0].title, u"Error");
      EXPECT_TRUE(host.launches.empty());
    }
  }
}

TEST(EditorArgumentTest, QuotesOnlyWithBlankTabOrQuote) {
  EXPECT_EQ(EditorArgument(u"a.reg"), u"a.reg");
  EXPECT_EQ(EditorArgument(u"C:\\x\\"), u"C:\\x\\");
  EXPECT_EQ(EditorArgument(u"a\"b"), u"\"a\\\"b\"");
  EXPECT_EQ(EditorArgument(u"a b"), u"\"a b\"");
  EXPECT_EQ(EditorArgument(u"a\\\\ b\\"), u"\"a\\\\ b\\\\\"");
  EXPECT_EQ(EditorArgument(u"a\\\" b"), u"\"a\\\\\\\" b\"");
}

TEST(IsRegFileNameTest, EndsInRegInAnyCase) {
  EXPECT_TRUE(IsRegFileName(u"a.reg"));
  EXPECT_TRUE(IsRegFileName(u"A.REG"));
  EXPECT_TRUE(IsRegFileName(u".rEg"));
  EXPECT_FALSE(IsRegFileName(u"a.reg\""));
  EXPECT_FALSE(IsRegFileName(u"a.regx"));
  EXPECT_FALSE(IsRegFileName(u"reg"));
  EXPECT_FALSE(IsRegFileName(u""));
}

}  // namespace
}  // namespace tolvu
