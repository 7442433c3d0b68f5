#include "regfiles/import_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/status_codes.h"
#include "support/recording_host.h"
#include "test_support.h"

namespace tolvu {
namespace {

constexpr const char* kEditor = "C:\\Windows\\regedit.exe";

// Files to import and keys to export, as the cases name them.
void AddFilesAndKeys(RecordingHost& host) {
  for (const std::u16string name :
       {u"MyRegFile.reg", u"SETTINGS.REG", u"My File.reg", u"My Settings.reg",
        u"ab.reg", u"C:\\Deploy\\settings.reg", u"\\\\server\\share\\s.reg",
        u".\\s.reg", u"sub\\s.reg", u"C:\\Deploy Files\\settings.reg",
        u"\u0141\u00f3d\u017a.reg"}) {
    host.files[name] = TestFile{};
  }
  for (const std::u16string folder : {u"C:\\My Dir", u"D:\\Backup Files"}) {
    host.files[folder] = TestFile{kAttributeDirectory, 0, 0, ""};
  }
  for (const char* key : {"Software\\MyKey", "Software\\My Key"}) {
    host.AddKey(kTestHklm, key);
  }
  for (const char* key :
       {"A", "A\tB\\", "a\"b\"c", "Software\\X", "\xd0\x9a"}) {
    host.AddKey(kTestHkcu, key);
  }
  host.AddKey(0x80000003, "S-1");
}

struct LaunchCase {
  const char* name;
  std::u16string commandText;
  std::string parameters;
};

class EditorLaunchTest : public testing::TestWithParam<LaunchCase> {};

TEST_P(EditorLaunchTest, LaunchesTheEditorByFullPathHiddenAndWaits) {
  RecordingHost host;
  AddFilesAndKeys(host);
  host.editorRunsMs = 3600000;  // as long as it takes, where a user sees it
  EXPECT_EQ(RunCommand(host, GetParam().commandText), kSuccess);
  EXPECT_TRUE(host.boxes.empty());
  ASSERT_EQ(host.launches.size(), 1U);
  EXPECT_EQ(host.launches[0].file, kEditor);
  EXPECT_EQ(host.launches[0].parameters, GetParam().parameters);
  EXPECT_EQ(host.launches[0].showMode, 0);
  EXPECT_EQ(host.editorsRunning, 0);
  EXPECT_EQ(host.clockMs, 3600000U);
  EXPECT_TRUE(host.openProcesses.empty());
  EXPECT_EQ(host.badHandleUses, 0);
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
        // An import names a file, by any path; wholly in quotes too.
        LaunchCase{"ImportFullPath", u"import C:\\Deploy\\settings.reg",
                   "/s C:\\Deploy\\settings.reg"},
        LaunchCase{"ImportSharePath", u"import \\\\server\\share\\s.reg",
                   "/s \\\\server\\share\\s.reg"},
        LaunchCase{"ImportDotPath", u"import .\\s.reg", "/s .\\s.reg"},
        LaunchCase{"ImportSubFolder", u"import sub\\s.reg", "/s sub\\s.reg"},
        LaunchCase{"ImportWhollyQuoted",
                   u"import \"C:\\Deploy Files\\settings.reg\"",
                   "/s \"C:\\Deploy Files\\settings.reg\""},
        // In UTF-8, the process's code page.
        LaunchCase{"ImportAnyLanguage", u"import \u0141\u00f3d\u017a.reg",
                   "/s \xc5\x81\xc3\xb3"
                   "d\xc5\xba.reg"},
        LaunchCase{"ExportAnyLanguage", u"export HKCU\\\u041a \u65e5.reg",
                   "/e \xe6\x97\xa5.reg.tolvu-4242.reg "
                   "HKEY_CURRENT_USER\\\xd0\x9a"},
        LaunchCase{"ExportExample",
                   u"export HKLM\\Software\\MyKey MyRegFile.reg",
                   "/e MyRegFile.reg.tolvu-4242.reg "
                   "HKEY_LOCAL_MACHINE\\Software\\MyKey"},
        LaunchCase{"ExportLongRootName", u"Export hkey_users\\S-1 out.Reg",
                   "/e out.Reg.tolvu-4242.reg HKEY_USERS\\S-1"},
        LaunchCase{"ExportKeyEndingInBackslash", u"export HKCU\\ out.reg",
                   "/e out.reg.tolvu-4242.reg HKEY_CURRENT_USER\\"},
        LaunchCase{"ExportKeyWithBlankQuoted",
                   u"export \"HKLM\\Software\\My Key\" MyRegFile.reg",
                   "/e MyRegFile.reg.tolvu-4242.reg "
                   "\"HKEY_LOCAL_MACHINE\\Software\\My Key\""},
        LaunchCase{"ExportTabQuotedAndTrailingBackslashDoubled",
                   u"export \"HKCU\\A\tB\\\" out.reg",
                   "/e out.reg.tolvu-4242.reg \"HKEY_CURRENT_USER\\A\tB\\\\\""},
        // Unquoted, the editor would read HKEY_CURRENT_USER\abc.
        LaunchCase{
            "ExportKeyWithQuotesNoBlank", u"export HKCU\\a\"b\"c x.reg",
            "/e x.reg.tolvu-4242.reg \"HKEY_CURRENT_USER\\a\\\"b\\\"c\""},
        LaunchCase{"ExportFileNameWithBlank",
                   u"export HKCU\\A C:\\My\" \"Dir\\x.reg",
                   "/e \"C:\\My Dir\\x.reg.tolvu-4242.reg\" "
                   "HKEY_CURRENT_USER\\A"},
        LaunchCase{"ExportQuotedStem",
                   u"export HKCU\\Software\\X \"My Export\".reg",
                   "/e \"My Export.reg.tolvu-4242.reg\" "
                   "HKEY_CURRENT_USER\\Software\\X"},
        LaunchCase{"ExportWhollyQuoted",
                   u"export HKCU\\Software\\X \"D:\\Backup Files\\x.reg\"",
                   "/e \"D:\\Backup Files\\x.reg.tolvu-4242.reg\" "
                   "HKEY_CURRENT_USER\\Software\\X"}),
    [](const testing::TestParamInfo<LaunchCase>& info) {
      return std::string(info.param.name);
    });

// Run by run, what an export leaves of the folder: a whole new file replaces
// the old x.reg in one rename; otherwise x.reg stays as it was. Either way
// the run's own file is gone, and a file that already has the first name
// for it is never touched.
struct ExportRunCase {
  const char* name;
  std::optional<TestFile> old;  // x.reg before the run
  bool editorWrites;            // else the new file stays empty
  std::int32_t launchResult;
  std::uint64_t editorRunsMs;  // on a hidden station
  std::uint32_t status;
  std::string after;       // x.reg's content afterwards; empty: no x.reg
  std::u16string mention;  // in the one box; empty for none
};

class ExportRunTest : public testing::TestWithParam<ExportRunCase> {};

TEST_P(ExportRunTest, ReplacesTheOldFileOnlyWithAWholeOne) {
  const ExportRunCase& c = GetParam();
  RecordingHost host;
  host.AddKey(kTestHkcu, "A");
  host.files[u"x.reg.tolvu-4242.reg"] = TestFile{0, 0, 0, "unrelated"};
  if (c.old) {
    host.files[u"x.reg"] = *c.old;
  }
  host.editorWritesExport = c.editorWrites;
  host.launchResult = c.launchResult;
  host.stationVisible = false;
  host.editorRunsMs = c.editorRunsMs;
  EXPECT_EQ(RunCommand(host, u"export HKCU\\A x.reg"), c.status);
  host.files.erase(kTestEditorPath);
  std::map<std::u16string, std::string> contents;
  for (const auto& [name, file] : host.files) {
    contents[name] = file.content;
  }
  std::map<std::u16string, std::string> expected{
      {u"x.reg.tolvu-4242.reg", "unrelated"}};
  if (!c.after.empty()) {
    expected[u"x.reg"] = c.after;
  }
  EXPECT_EQ(contents, expected);
  ASSERT_FALSE(host.fileChanges.empty());
  EXPECT_EQ(host.fileChanges[0].name, u"x.reg.tolvu-4242-2.reg");
  for (const FileChange& change : host.fileChanges) {
    EXPECT_NE(change.name, u"x.reg") << "the old file was moved or deleted";
  }
  ASSERT_EQ(host.boxes.size(), c.mention.empty() ? 0U : 1U);
  if (!c.mention.empty()) {
    EXPECT_NE(host.boxes[0].text.find(c.mention), std::u16string::npos);
  }
  EXPECT_EQ(host.editorsRunning, 0);
  EXPECT_TRUE(host.openProcesses.empty());
  EXPECT_EQ(host.clockMs, std::min<std::uint64_t>(c.editorRunsMs, 600000));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportRunTest,
    testing::Values(
        ExportRunCase{"Replaces", TestFile{0, 0, 0, "old"}, true, 42, 0,
                      kSuccess, kExportedContent, u""},
        ExportRunCase{"WritesANewFile", std::nullopt, true, 42, 0, kSuccess,
                      kExportedContent, u""},
        ExportRunCase{"EndsWithinTheUnattendedWait", TestFile{0, 0, 0, "old"},
                      true, 42, 600000, kSuccess, kExportedContent, u""},
        // What a full disk or a quota leaves.
        ExportRunCase{"EmptyNewFileKeepsTheOld", TestFile{0, 0, 0, "old"},
                      false, 42, 0, kErrorCannotMake, "old",
                      u"wrote no file \"x.reg\"; the earlier file is kept"},
        ExportRunCase{"EmptyNewFile", std::nullopt, false, 42, 0,
                      kErrorCannotMake, "", u"nothing was exported"},
        ExportRunCase{"LaunchFailsKeepsTheOld", TestFile{0, 0, 0, "old"}, true,
                      5, 0, kErrorAccessDenied, "old", u"File access denied"},
        ExportRunCase{"TargetInUseKeepsTheOld",
                      TestFile{0, kErrorSharingViolation, 0, "old"}, true, 42,
                      0, kErrorSharingViolation, "old",
                      u"cannot replace \"x.reg\": another program is using it"},
        // Nobody can answer the editor there: it is ended at the bound.
        ExportRunCase{"EndedAtTheUnattendedBound", TestFile{0, 0, 0, "old"},
                      true, 42, 600001, kErrorTimeout, "old",
                      u"had not finished after 10 minutes and was ended."}),
    [](const testing::TestParamInfo<ExportRunCase>& info) {
      return std::string(info.param.name);
    });

TEST(ExportKeyTest, ReplacesTheFileAQuotedNameMeans) {
  for (const std::u16string typed :
       {u"\"My Export\".reg", u"My\" \"Export.reg", u"\"My Export.reg\""}) {
    RecordingHost host;
    AddFilesAndKeys(host);
    host.files[u"My Export.reg"] = TestFile{};
    EXPECT_EQ(RunCommand(host, u"export HKCU\\Software\\X " + typed), kSuccess);
    EXPECT_EQ(host.files[u"My Export.reg"].content, kExportedContent);
    EXPECT_EQ(host.fileChanges,
              (std::vector<FileChange>{
                  {FileChange::Create, u"My Export.reg.tolvu-4242.reg", u""},
                  {FileChange::Rename, u"My Export.reg.tolvu-4242.reg",
                   u"My Export.reg"}}));
  }
}

TEST(ExportKeyTest, RootZeroShowsUsageAndDeletesNothing) {
  RecordingHost host;
  host.files[u"MyRegFile.reg"] = TestFile{};
  EXPECT_EQ(RunCommand(host, u"export MyKey MyRegFile.reg"),
            kErrorInvalidCommandLine);
  EXPECT_TRUE(host.fileChanges.empty());
  EXPECT_TRUE(host.launches.empty());
  ASSERT_EQ(host.boxes.size(), 1U);
  EXPECT_EQ(host.boxes[0].icon, Icon::Information);
}

// Import and export checks that fail before anything is touched: one
// description box, and every file as it was.
struct CheckFailureCase {
  const char* name;
  std::u16string commandText;
  TestFile existing;  // present as "x.reg" in every case
  std::uint32_t status;
  std::u16string mention;
};

class CheckFailureTest : public testing::TestWithParam<CheckFailureCase> {};

TEST_P(CheckFailureTest, DescribesTouchesNothingLaunchesNothing) {
  const CheckFailureCase& c = GetParam();
  RecordingHost host;
  AddFilesAndKeys(host);
  host.files[u"x.reg"] = c.existing;
  host.files[u"Dir.reg"] = TestFile{kAttributeDirectory, 0, 0, ""};
  host.files[u"\\\\far\\s.reg"] = TestFile{0, 0, 53, ""};  // ERROR_BAD_NETPATH
  host.files[u"C:\\Locked"] =
      TestFile{kAttributeDirectory, kErrorAccessDenied, 0, ""};
  const auto before = host.files;
  EXPECT_EQ(RunCommand(host, c.commandText), c.status);
  ASSERT_EQ(host.boxes.size(), 1U);  // no usage box after it
  EXPECT_EQ(host.boxes[0].icon, Icon::None);
  EXPECT_EQ(host.boxes[0].title, u"Tolvu");
  EXPECT_NE(host.boxes[0].text.find(c.mention), std::u16string::npos);
  EXPECT_EQ(host.files, before);
  EXPECT_TRUE(host.launches.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckFailureTest,
    testing::Values(
        CheckFailureCase{"Star", u"export HKCU\\A *.reg", TestFile{},
                         kErrorInvalidName, u"\"*.reg\""},
        CheckFailureCase{"QuestionMark", u"export HKCU\\A ?.reg", TestFile{},
                         kErrorInvalidName, u"wildcard"},
        CheckFailureCase{"MissingKey", u"export HKCU\\Gone x.reg", TestFile{},
                         kErrorFileNotFound,
                         u"\"HKEY_CURRENT_USER\\Gone\" cannot be exported"},
        CheckFailureCase{"MissingFolder", u"export HKCU\\A C:\\Gone\\x.reg",
                         TestFile{}, kErrorPathNotFound,
                         u"\"C:\\Gone\\x.reg\""},
        CheckFailureCase{"FileAsFolder", u"export HKCU\\A x.reg\\y.reg",
                         TestFile{}, kErrorPathNotFound, u"folder"},
        CheckFailureCase{"ReadOnlyTarget", u"export HKCU\\A x.reg",
                         TestFile{kAttributeReadOnly, 0, 0, ""},
                         kErrorAccessDenied, u"\"x.reg\": it is read-only"},
        CheckFailureCase{"ReadOnlyTargetNamedInQuotes",
                         u"export HKCU\\A \"x\".reg",
                         TestFile{kAttributeReadOnly, 0, 0, ""},
                         kErrorAccessDenied, u"\"x.reg\""},
        CheckFailureCase{"HiddenTarget", u"export HKCU\\A x.reg",
                         TestFile{kAttributeHidden, 0, 0, ""},
                         kErrorAccessDenied, u"hidden"},
        CheckFailureCase{"SystemTarget", u"export HKCU\\A x.reg",
                         TestFile{kAttributeSystem, 0, 0, ""},
                         kErrorAccessDenied, u"system"},
        CheckFailureCase{"FolderTarget", u"export HKCU\\A Dir.reg", TestFile{},
                         kErrorAccessDenied, u"it is a folder"},
        // The new file cannot be made beside it.
        CheckFailureCase{"FolderNotWritable",
                         u"export HKCU\\A C:\\Locked\\x.reg", TestFile{},
                         kErrorAccessDenied,
                         u"\"C:\\Locked\\x.reg\" cannot be written: access"},
        CheckFailureCase{"UnrepresentableKey", u"export HKCU\\\xD800 x.reg",
                         TestFile{}, kErrorNoUnicodeTranslation, u"U+D800"},
        CheckFailureCase{"UnrepresentableFile", u"export HKCU\\A \xD800x.reg",
                         TestFile{}, kErrorNoUnicodeTranslation, u"file name"},
        CheckFailureCase{"ImportMissing", u"import none.reg", TestFile{},
                         kErrorFileNotFound,
                         u"\"none.reg\" cannot be imported"},
        CheckFailureCase{"ImportMissingFolder", u"import C:\\Gone\\a.reg",
                         TestFile{}, kErrorPathNotFound, u"folder"},
        CheckFailureCase{"ImportFolder", u"import Dir.reg", TestFile{},
                         kErrorFileNotFound, u"\"Dir.reg\""},
        CheckFailureCase{"ImportUnreachable", u"import \\\\far\\s.reg",
                         TestFile{}, 53, u"Windows error 53"}),
    [](const testing::TestParamInfo<CheckFailureCase>& info) {
      return std::string(info.param.name);
    });

// Only a file is launched: the shell would open a folder in a file window.
// In the editor's place a folder, nothing, or, with the Windows folder
// unknown, nothing to look for, not even at the current drive's root.
TEST(ImportExportTest, EditorThatIsNoFileIsNotFoundAndNotLaunched) {
  for (const std::u16string command :
       {u"import MyRegFile.reg", u"export HKCU\\A MyRegFile.reg"}) {
    for (const int place : {0, 1, 2}) {
      RecordingHost host;
      AddFilesAndKeys(host);
      host.files.erase(kTestEditorPath);
      if (place == 0) {
        host.files[kTestEditorPath] = TestFile{kAttributeDirectory, 0, 0, ""};
      } else if (place == 2) {
        host.windowsDirectory.clear();
        host.files[u"\\regedit.exe"] = TestFile{};
      }
      const auto before = host.files;
      EXPECT_EQ(RunCommand(host, command), kErrorFileNotFound);
      ASSERT_EQ(host.boxes.size(), 1U);
      EXPECT_EQ(host.boxes[0].text, u"File not found");
      EXPECT_EQ(host.boxes[0].title, u"Error");
      EXPECT_TRUE(host.launches.empty());
      EXPECT_EQ(host.files, before);
    }
  }
}

TEST(ImportExportTest, ImportStillRunningUnattendedIsEnded) {
  RecordingHost host;
  AddFilesAndKeys(host);
  host.stationVisible = false;
  host.editorRunsMs = 600001;
  EXPECT_EQ(RunCommand(host, u"import MyRegFile.reg"), kErrorTimeout);
  ASSERT_EQ(host.boxes.size(), 1U);
  EXPECT_NE(host.boxes[0].text.find(u"10 minutes and was ended."),
            std::u16string::npos);
  EXPECT_EQ(host.editorsRunning, 0);
  EXPECT_EQ(host.clockMs, 600000U);
  EXPECT_TRUE(host.openProcesses.empty());
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
