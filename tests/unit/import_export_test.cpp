#include "regfiles/import_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/status_codes.h"
#include "support/code_pages.h"
#include "support/recording_host.h"
#include "support/row_name.h"
#include "test_support.h"

namespace tolvu {
namespace {

// GoogleTest prints the rows with it, which clang-tidy does not see.
using tolvu_test::operator<<;  // NOLINT(misc-unused-using-decls)

// Files to import and keys to export, as the cases name them.
void AddFilesAndKeys(RecordingHost& host) {
  for (const std::u16string name :
       {u"MyRegFile.reg", u"SETTINGS.REG", u"My File.reg", u"My Settings.reg",
        u"ab.reg", u"C:\\Deploy\\settings.reg", u"\\\\server\\share\\s.reg",
        u".\\s.reg", u"sub\\s.reg", u"C:\\Deploy Files\\settings.reg",
        u"\u0141\u00f3d\u017a.reg", u"Z:\\s.reg", u"Y:\\s.reg", u"X:\\s.reg",
        u"W:\\s.reg"}) {
    host.files[name] = ImportableFile();
  }
  // A network drive, subst letters for a folder, a drive's root and a folder
  // on the network drive.
  host.drives = {{u"Z:", u"\\\\server\\share"},
                 {u"Y:", u"C:\\Deploy"},
                 {u"X:", u"C:\\"},
                 {u"W:", u"Z:\\Deploy"}};
  for (const std::u16string folder : {u"C:\\My Dir", u"D:\\Backup Files",
                                      u"\\\\?\\C:\\Deploy", u"Z:\\Backup"}) {
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
  host.editor.runsMs = 3600000;  // as long as it takes, where a user sees it
  EXPECT_EQ(RunCommand(host, GetParam().commandText), kSuccess);
  EXPECT_TRUE(host.boxes.empty());
  ASSERT_EQ(host.launches.size(), 1U);
  EXPECT_EQ(host.launches[0].file, EncodeUtf8(kTestEditorPath));
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
                   "/s C:\\Work\\MyRegFile.reg"},
        LaunchCase{"ImportUpperCase", u"IMPORT SETTINGS.REG",
                   "/s C:\\Work\\SETTINGS.REG"},
        LaunchCase{"ImportBlankInsideQuotes", u"import My\" \"File.reg",
                   "/s \"C:\\Work\\My File.reg\""},
        LaunchCase{"ImportQuotedStem", u"import \"My Settings\".reg",
                   "/s \"C:\\Work\\My Settings.reg\""},
        LaunchCase{"ImportQuotesWithoutBlank", u"import \"a\"b.reg",
                   "/s C:\\Work\\ab.reg"},
        // An import names a file, by any path; wholly in quotes too.
        LaunchCase{"ImportFullPath", u"import C:\\Deploy\\settings.reg",
                   "/s C:\\Deploy\\settings.reg"},
        LaunchCase{"ImportSharePath", u"import \\\\server\\share\\s.reg",
                   "/s \\\\server\\share\\s.reg"},
        LaunchCase{"ImportDotPath", u"import .\\s.reg", "/s C:\\Work\\s.reg"},
        LaunchCase{"ImportSubFolder", u"import sub\\s.reg",
                   "/s C:\\Work\\sub\\s.reg"},
        LaunchCase{"ImportWhollyQuoted",
                   u"import \"C:\\Deploy Files\\settings.reg\"",
                   "/s \"C:\\Deploy Files\\settings.reg\""},
        // The editor, elevated, may run in another logon session, which has
        // none of this one's drive letters.
        LaunchCase{"ImportFromANetworkDrive", u"import Z:\\s.reg",
                   "/s \\\\server\\share\\s.reg"},
        LaunchCase{"ImportFromASubstLetter", u"import Y:\\s.reg",
                   "/s C:\\Deploy\\s.reg"},
        LaunchCase{"ImportFromASubstLetterOfARoot", u"import X:\\s.reg",
                   "/s C:\\s.reg"},
        LaunchCase{"ImportFromASubstLetterOnANetworkDrive", u"import W:\\s.reg",
                   "/s \\\\server\\share\\Deploy\\s.reg"},
        LaunchCase{"ExportToANetworkDrive", u"export HKCU\\A Z:\\Backup\\x.reg",
                   "/e \\\\server\\share\\Backup\\x.reg.tolvu-4242.reg "
                   "HKEY_CURRENT_USER\\A"},
        // In UTF-8, the process's code page.
        LaunchCase{"ImportAnyLanguage", u"import \u0141\u00f3d\u017a.reg",
                   "/s C:\\Work\\\xc5\x81\xc3\xb3"
                   "d\xc5\xba.reg"},
        LaunchCase{"ExportAnyLanguage", u"export HKCU\\\u041a \u65e5.reg",
                   "/e C:\\Work\\\xe6\x97\xa5.reg.tolvu-4242.reg "
                   "HKEY_CURRENT_USER\\\xd0\x9a"},
        LaunchCase{"ExportExample",
                   u"export HKLM\\Software\\MyKey MyRegFile.reg",
                   "/e C:\\Work\\MyRegFile.reg.tolvu-4242.reg "
                   "HKEY_LOCAL_MACHINE\\Software\\MyKey"},
        LaunchCase{"ExportLongRootName", u"Export hkey_users\\S-1 out.Reg",
                   "/e C:\\Work\\out.Reg.tolvu-4242.reg HKEY_USERS\\S-1"},
        LaunchCase{"ExportKeyEndingInBackslash", u"export HKCU\\ out.reg",
                   "/e C:\\Work\\out.reg.tolvu-4242.reg HKEY_CURRENT_USER\\"},
        LaunchCase{"ExportKeyWithBlankQuoted",
                   u"export \"HKLM\\Software\\My Key\" MyRegFile.reg",
                   "/e C:\\Work\\MyRegFile.reg.tolvu-4242.reg "
                   "\"HKEY_LOCAL_MACHINE\\Software\\My Key\""},
        LaunchCase{"ExportTabQuotedAndTrailingBackslashDoubled",
                   u"export \"HKCU\\A\tB\\\" out.reg",
                   "/e C:\\Work\\out.reg.tolvu-4242.reg "
                   "\"HKEY_CURRENT_USER\\A\tB\\\\\""},
        // Unquoted, the editor would read HKEY_CURRENT_USER\abc.
        LaunchCase{"ExportKeyWithQuotesNoBlank", u"export HKCU\\a\"b\"c x.reg",
                   "/e C:\\Work\\x.reg.tolvu-4242.reg "
                   "\"HKEY_CURRENT_USER\\a\\\"b\\\"c\""},
        LaunchCase{"ExportFileNameWithBlank",
                   u"export HKCU\\A C:\\My\" \"Dir\\x.reg",
                   "/e \"C:\\My Dir\\x.reg.tolvu-4242.reg\" "
                   "HKEY_CURRENT_USER\\A"},
        LaunchCase{"ExportQuotedStem",
                   u"export HKCU\\Software\\X \"My Export\".reg",
                   "/e \"C:\\Work\\My Export.reg.tolvu-4242.reg\" "
                   "HKEY_CURRENT_USER\\Software\\X"},
        // Taken as it stands, without a wildcard in it.
        LaunchCase{
            "ExportLiteralPath", u"export HKCU\\A \\\\?\\C:\\Deploy\\x.reg",
            "/e \\\\?\\C:\\Deploy\\x.reg.tolvu-4242.reg HKEY_CURRENT_USER\\A"},
        LaunchCase{"ExportWhollyQuoted",
                   u"export HKCU\\Software\\X \"D:\\Backup Files\\x.reg\"",
                   "/e \"D:\\Backup Files\\x.reg.tolvu-4242.reg\" "
                   "HKEY_CURRENT_USER\\Software\\X"}),
    tolvu_test::ParamName<LaunchCase>);

// Run by run, what an export leaves of the folder: a whole new file replaces
// the old x.reg in one rename, its data flushed first, with the old file's
// access list from before the editor started; otherwise x.reg stays as it
// was. The run's own file is gone unless it is named as left, and a file
// that already has the first name for it is never touched.
struct ExportRunCase {
  const char* name;
  std::optional<TestFile> old;    // x.reg before the run
  void (*scene)(RecordingHost&);  // what else the run meets; may be null
  std::uint32_t status;
  std::string after;       // x.reg's content afterwards; empty: no x.reg
  std::u16string mention;  // in the one box; empty for none
  std::uint64_t clockMs;   // time spent waiting and pausing
  bool newFileLeft = false;
};

class ExportRunTest : public testing::TestWithParam<ExportRunCase> {};

constexpr const char16_t* kNewFile = u"x.reg.tolvu-4242-2.reg";

TEST_P(ExportRunTest, ReplacesTheOldFileOnlyWithAWholeOne) {
  const ExportRunCase& c = GetParam();
  RecordingHost host;
  host.AddKey(kTestHkcu, "A");
  host.files[u"x.reg.tolvu-4242.reg"] = TestFile{0, 0, 0, "unrelated"};
  if (c.old) {
    host.files[u"x.reg"] = *c.old;
  }
  host.stationVisible = false;
  if (c.scene != nullptr) {
    c.scene(host);
  }
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
  if (c.newFileLeft) {
    expected[kNewFile] = host.editor.exportWritten.value_or(ExportedContent());
  }
  EXPECT_EQ(contents, expected);
  // Refused before the launch: nothing made, nothing launched.
  EXPECT_EQ(host.fileChanges.empty(), host.launches.empty());
  if (!host.fileChanges.empty()) {
    EXPECT_EQ(host.fileChanges[0].name, kNewFile);
  }
  for (const FileChange& change : host.fileChanges) {
    EXPECT_NE(change.name, u"x.reg") << "the old file was changed";
  }
  const std::string oldList = c.old ? c.old->accessList : "";
  if (!host.launches.empty()) {
    EXPECT_EQ(host.launches[0].files.at(kNewFile).accessList, oldList);
  }
  if (c.status == kSuccess) {
    EXPECT_EQ(host.files[u"x.reg"].accessList, oldList);
    ASSERT_GE(host.fileChanges.size(), 2U);
    const std::vector<FileChange> last(host.fileChanges.end() - 2,
                                       host.fileChanges.end());
    EXPECT_EQ(last, (std::vector<FileChange>{
                        {FileChange::Flush, kNewFile, u""},
                        {FileChange::Rename, kNewFile, u"x.reg"}}));
  }
  ASSERT_EQ(host.boxes.size(), c.mention.empty() ? 0U : 1U);
  if (!c.mention.empty()) {
    EXPECT_NE(host.boxes[0].text.find(c.mention), std::u16string::npos)
        << std::string(host.boxes[0].text.begin(), host.boxes[0].text.end());
  }
  EXPECT_EQ(host.editorsRunning, 0);
  EXPECT_TRUE(host.openProcesses.empty());
  EXPECT_EQ(host.clockMs, c.clockMs);
}

// An old x.reg locked down to some accounts, which another program may
// hold.
TestFile Old(std::uint32_t heldError = 0) {
  return TestFile{0, heldError, 0, "old", "Administrators only"};
}

TestFile OwnedBy(const char16_t* owner) {
  TestFile file = Old();
  file.owner = owner;
  return file;
}

TestFile HeldUntil(TestFile file, std::uint64_t timeMs) {
  file.heldUntilMs = timeMs;
  return file;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportRunTest,
    testing::Values(
        ExportRunCase{"Replaces", Old(), nullptr, kSuccess, ExportedContent(),
                      u"", 0},
        // Without an old file there is no access list to copy.
        ExportRunCase{"WritesANewFile", std::nullopt,
                      [](RecordingHost& h) {
                        h.readAccessListError = kErrorAccessDenied;
                      },
                      kSuccess, ExportedContent(), u"", 0},
        ExportRunCase{"EndsWithinTheUnattendedWait", Old(),
                      [](RecordingHost& h) { h.editor.runsMs = 600000; },
                      kSuccess, ExportedContent(), u"", 600000},
        // What a full disk or a quota leaves.
        ExportRunCase{"EmptyNewFileKeepsTheOld", Old(),
                      [](RecordingHost& h) { h.editor.exportWritten = ""; },
                      kErrorCannotMake, "old",
                      u"wrote no whole export to \"x.reg\"; the earlier file "
                      u"is kept",
                      0},
        ExportRunCase{"EmptyNewFile", std::nullopt,
                      [](RecordingHost& h) { h.editor.exportWritten = ""; },
                      kErrorCannotMake, "", u"nothing was exported", 0},
        ExportRunCase{"CutOffKeepsTheOld", Old(),
                      [](RecordingHost& h) {
                        h.editor.exportWritten = Utf16File(
                            u"Windows Registry Editor Version 5.00\r\n\r\n"
                            u"[HKEY_CURRENT_USER\\A]\r\n\"Na");
                      },
                      kErrorCannotMake, "old", u"no whole export", 0},
        ExportRunCase{"CutInACharacterKeepsTheOld", Old(),
                      [](RecordingHost& h) {
                        h.editor.exportWritten = ExportedContent();
                        h.editor.exportWritten->pop_back();
                      },
                      kErrorCannotMake, "old", u"no whole export", 0},
        ExportRunCase{"NoByteOrderMarkKeepsTheOld", Old(),
                      [](RecordingHost& h) {
                        h.editor.exportWritten = ExportedContent().substr(2);
                      },
                      kErrorCannotMake, "old", u"no whole export", 0},
        ExportRunCase{"NoVersionLineKeepsTheOld", Old(),
                      [](RecordingHost& h) {
                        h.editor.exportWritten =
                            Utf16File(u"[HKEY_CURRENT_USER\\A]\r\n\r\n");
                      },
                      kErrorCannotMake, "old", u"no whole export", 0},
        // What an editor that gave up after its first line leaves.
        ExportRunCase{"HeaderOnlyKeepsTheOld", Old(),
                      [](RecordingHost& h) {
                        h.editor.exportWritten = Utf16File(
                            u"Windows Registry Editor Version 5.00\r\n\r\n");
                      },
                      kErrorCannotMake, "old", u"no whole export", 0},
        ExportRunCase{"OtherKeyKeepsTheOld", Old(),
                      [](RecordingHost& h) {
                        h.editor.exportWritten =
                            ExportedContent(u"HKEY_CURRENT_USER\\AB");
                      },
                      kErrorCannotMake, "old", u"no whole export", 0},
        ExportRunCase{
            "KeyInAnyCase", Old(),
            [](RecordingHost& h) {
              h.editor.exportWritten = ExportedContent(u"hkey_current_user\\a");
            },
            kSuccess, ExportedContent(u"hkey_current_user\\a"), u"", 0},
        ExportRunCase{"LaunchFailsKeepsTheOld", Old(),
                      [](RecordingHost& h) { h.editor.launchResult = 5; },
                      kErrorAccessDenied, "old", u"File access denied", 0},
        // Refused before the launch, with nothing changed.
        ExportRunCase{"AccessListUnreadableKeepsTheOld", Old(),
                      [](RecordingHost& h) {
                        h.readAccessListError = kErrorAccessDenied;
                      },
                      kErrorAccessDenied, "old",
                      u"a new file beside it could not be created (access is "
                      u"denied)",
                      0},
        // An administrator without elevation, where only Administrators
        // may use the old file: nothing is launched, nothing left.
        ExportRunCase{"AccessListLocksTheAccountOutKeepsTheOld", Old(),
                      [](RecordingHost& h) { h.newFilesLockedOut = true; },
                      kErrorAccessDenied, "old",
                      u"\"x.reg\" cannot be written: the access list a new "
                      u"file beside it gets (the old file's, or without one "
                      u"its folder's) would lock this account out of the "
                      u"export.",
                      0},
        // Anyone may have planted a file owned by another account.
        ExportRunCase{"OwnedByAnotherAccountKeepsTheOld",
                      OwnedBy(u"S-1-5-21-1-2-3-1002"), nullptr,
                      kErrorAccessDenied, "old",
                      u"\"x.reg\": it belongs to S-1-5-21-1-2-3-1002, not", 0},
        // FAT and exFAT keep no owners, nor access lists.
        ExportRunCase{"WithoutOwners",
                      TestFile{0, 0, 0, "old", "", kForever, u""}, nullptr,
                      kSuccess, ExportedContent(), u"", 0},
        ExportRunCase{"OwnedBySystem", OwnedBy(u"S-1-5-18"), nullptr, kSuccess,
                      ExportedContent(), u"", 0},
        ExportRunCase{"OwnedByAdministrators", OwnedBy(u"S-1-5-32-544"),
                      nullptr, kSuccess, ExportedContent(), u"", 0},
        ExportRunCase{"OwnedByTrustedInstaller",
                      OwnedBy(u"S-1-5-80-956008885-3418522649-1831038044-"
                              u"1853292631-2271478464"),
                      nullptr, kSuccess, ExportedContent(), u"", 0},
        ExportRunCase{"FlushFailsKeepsTheOld", Old(),
                      [](RecordingHost& h) { h.flushError = 1117; }, 1117,
                      "old",
                      u"cannot be written to the disk (Windows error 1117)", 0},
        // A scanner holds a file for a moment: waited out, whichever of the
        // three answers Windows gives for it.
        ExportRunCase{"TargetBusyTwiceThenFree",
                      HeldUntil(Old(kErrorAccessDenied), 200), nullptr,
                      kSuccess, ExportedContent(), u"", 200},
        ExportRunCase{"NewFileHeldForASecond", Old(),
                      [](RecordingHost& h) {
                        h.editor.exportHeldError = kErrorLockViolation;
                        h.editor.exportHeldMs = 1000;
                      },
                      kSuccess, ExportedContent(), u"", 1000},
        ExportRunCase{"TargetInUseKeepsTheOld", Old(kErrorSharingViolation),
                      nullptr, kErrorSharingViolation, "old",
                      u"cannot replace \"x.reg\": another program is using it",
                      2000},
        ExportRunCase{"NewFileHeldThroughoutIsNamed", Old(),
                      [](RecordingHost& h) {
                        h.editor.exportHeldError = kErrorSharingViolation;
                        h.editor.exportHeldMs = kForever;
                      },
                      kErrorSharingViolation, "old",
                      u"The new file \"x.reg.tolvu-4242-2.reg\" is left; it "
                      u"could not be removed: another program is using it.",
                      4000, true},
        // Nobody can answer the editor in session 0, whatever its station
        // says: it is ended at the bound.
        ExportRunCase{"EndedAtTheBoundInSessionZero", Old(),
                      [](RecordingHost& h) {
                        h.stationVisible = true;
                        h.sessionId = 0;
                        h.editor.runsMs = 600001;
                      },
                      kErrorTimeout, "old",
                      u"had not finished after 10 minutes and was ended.",
                      600000},
        // Nobody can answer the editor there: it is ended at the bound.
        ExportRunCase{"EndedAtTheUnattendedBound", Old(),
                      [](RecordingHost& h) { h.editor.runsMs = 600001; },
                      kErrorTimeout, "old",
                      u"had not finished after 10 minutes and was ended.",
                      600000}),
    tolvu_test::ParamName<ExportRunCase>);

// The names tried for the new file end with the hundredth.
TEST(ExportKeyTest, TriesAHundredNamesForTheNewFile) {
  for (const int taken : {99, 100}) {
    RecordingHost host;
    host.AddKey(kTestHkcu, "A");
    for (int n = 1; n <= taken; ++n) {
      const std::string suffix = n == 1 ? "" : "-" + std::to_string(n);
      host.files[u"x.reg.tolvu-4242" +
                 std::u16string(suffix.begin(), suffix.end()) + u".reg"] =
          TestFile{};
    }
    EXPECT_EQ(RunCommand(host, u"export HKCU\\A x.reg"),
              taken == 99 ? kSuccess : kErrorFileExists);
    EXPECT_EQ(host.files.count(u"x.reg"), taken == 99 ? 1U : 0U);
  }
}

TEST(ExportKeyTest, ReplacesTheFileAQuotedNameMeans) {
  for (const std::u16string typed :
       {u"\"My Export\".reg", u"My\" \"Export.reg", u"\"My Export.reg\""}) {
    RecordingHost host;
    AddFilesAndKeys(host);
    host.files[u"My Export.reg"] = TestFile{};
    EXPECT_EQ(RunCommand(host, u"export HKCU\\Software\\X " + typed), kSuccess);
    EXPECT_EQ(host.files[u"My Export.reg"].content,
              ExportedContent(u"HKEY_CURRENT_USER\\Software\\X"));
    const std::u16string made = u"My Export.reg.tolvu-4242.reg";
    EXPECT_EQ(host.fileChanges,
              (std::vector<FileChange>{
                  {FileChange::Create, made, u""},
                  {FileChange::Flush, made, u""},
                  {FileChange::Rename, made, u"My Export.reg"}}));
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
  // What creating a file in them meets: Controlled Folder Access answers
  // as if the folder were missing.
  for (const auto& [folder, error] : std::map<std::u16string, std::uint32_t>{
           {u"C:\\Locked", kErrorAccessDenied},
           {u"C:\\Documents", kErrorFileNotFound},
           {u"C:\\Desktop", kErrorPathNotFound}}) {
    host.files[folder] = TestFile{kAttributeDirectory, 0, 0, ""};
    host.files[folder].notWritableError = error;
  }
  const auto before = host.files;
  EXPECT_EQ(RunCommand(host, c.commandText), c.status);
  ASSERT_EQ(host.boxes.size(), 1U);  // no usage box after it
  EXPECT_EQ(host.boxes[0].icon, Icon::None);
  EXPECT_EQ(host.boxes[0].title, u"Tolvu");
  EXPECT_NE(host.boxes[0].text.find(c.mention), std::u16string::npos);
  EXPECT_EQ(host.boxes[0].text.find(u"is left"), std::u16string::npos);
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
                         u"\"C:\\Locked\\x.reg\" cannot be written: a new file "
                         u"beside it could not be created (access"},
        CheckFailureCase{"FolderGuarded",
                         u"export HKCU\\A C:\\Documents\\x.reg", TestFile{},
                         kErrorFileNotFound,
                         u"Windows refused to create a new file beside it "
                         u"(Windows error 2). Controlled Folder Access or "
                         u"another protection may be the cause: add tolvu.exe"},
        CheckFailureCase{"FolderGuardedAsMissing",
                         u"export HKCU\\A C:\\Desktop\\x.reg", TestFile{},
                         kErrorPathNotFound,
                         u"(Windows error 3). Controlled Folder Access"},
        // Names Windows takes for devices open no file.
        CheckFailureCase{"DeviceName", u"export HKCU\\A NUL.reg", TestFile{},
                         kErrorInvalidName,
                         u"\"NUL.reg\" is the name of a device"},
        CheckFailureCase{"DeviceNameInAFolder",
                         u"export HKCU\\A \"C:\\My Dir\\com1.x.reg\"",
                         TestFile{}, kErrorInvalidName, u"device, not a file"},
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
    tolvu_test::ParamName<CheckFailureCase>);

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

// Where nobody can answer it, an editor is ended at the bound; one that
// cannot be ended is said to run on.
TEST(ImportExportTest, ImportStillRunningUnattendedIsEnded) {
  for (const bool endable : {true, false}) {
    RecordingHost host;
    AddFilesAndKeys(host);
    host.stationVisible = false;
    host.editor.runsMs = 600001;
    host.editor.endable = endable;
    EXPECT_EQ(RunCommand(host, u"import MyRegFile.reg"), kErrorTimeout);
    ASSERT_EQ(host.boxes.size(), 1U);
    EXPECT_NE(host.boxes[0].text.find(endable ? u"10 minutes and was ended."
                                              : u"could not be ended; it is "
                                                u"left running."),
              std::u16string::npos);
    EXPECT_EQ(host.editorsRunning, endable ? 0 : 1);
    EXPECT_EQ(host.clockMs, 600000U);
    EXPECT_TRUE(host.openProcesses.empty());
  }
}

// A launch may start the editor and give no process to wait for.
TEST(ImportExportTest, LaunchWithoutAProcessIsNotWaitedOn) {
  for (const std::u16string command :
       {u"import MyRegFile.reg", u"export HKCU\\A MyRegFile.reg"}) {
    RecordingHost host;
    AddFilesAndKeys(host);
    host.editor.givesProcess = false;
    // Nothing is read back of an import that may still run.
    const TestFile imported = ImportableFile(u"[HKEY_CURRENT_USER\\New]\r\n");
    host.files[u"MyRegFile.reg"] = imported;
    EXPECT_EQ(RunCommand(host, command), kSuccess);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(host.badHandleUses, 0);
    EXPECT_EQ(host.files[u"MyRegFile.reg"].content,
              command[0] == u'i' ? imported.content : ExportedContent());
  }
}

// After the editor (here one that imports nothing) has ended, the registry
// compared with what the file leaves: given at first, a HKCU\A holding S
// = "x" and D = 2, with no Gone value and no Old key.
struct CheckCase {
  const char* name;
  std::u16string extraLines;      // after those the file starts with
  void (*scene)(RecordingHost&);  // the registry's changes; may be null
  std::uint32_t status;
  std::u16string mention;  // in the one box; empty for none
};

class ImportCheckTest : public testing::TestWithParam<CheckCase> {};

TEST_P(ImportCheckTest, StatusSaysWhetherTheRegistryHoldsTheFile) {
  const CheckCase& c = GetParam();
  RecordingHost host;
  host.files[u"x.reg"] = ImportableFile(
      u"[HKEY_CURRENT_USER\\A]\r\n\"S\"=\"x\"\r\n\"d\"=dword:2\r\n"
      u"\"Gone\"=-\r\n[-HKEY_CURRENT_USER\\Old]\r\n" +
      c.extraLines);
  HostKey key = 0;
  host.RegCreateKeyA(kTestHkcu, "A", &key);
  host.RegSetValueExA(key, "S", 1, {'x', 0, 0, 0});
  host.RegSetValueExA(key, "D", 4, {2, 0, 0, 0});
  host.RegCloseKey(key);
  if (c.scene != nullptr) {
    c.scene(host);
  }
  EXPECT_EQ(RunCommand(host, u"import x.reg"), c.status);
  ASSERT_EQ(host.boxes.size(), c.mention.empty() ? 0U : 1U);
  if (!c.mention.empty()) {
    EXPECT_NE(host.boxes[0].text.find(c.mention), std::u16string::npos)
        << std::string(host.boxes[0].text.begin(), host.boxes[0].text.end());
  }
  ASSERT_EQ(host.launches.size(), 1U);
  EXPECT_EQ(host.launches[0].parameters, "/s C:\\Work\\x.reg");
  EXPECT_TRUE(host.openKeys.empty());
}

void SetD(RecordingHost& host, const std::vector<std::uint8_t>& data,
          std::uint32_t type = 4) {
  HostKey key = 0;
  host.RegOpenKeyA(kTestHkcu, "A", &key);
  host.RegSetValueExA(key, "D", type, data);
  host.RegCloseKey(key);
}

std::vector<std::uint8_t> Counting(std::uint8_t count) {
  std::vector<std::uint8_t> bytes(count);
  for (std::uint8_t i = 0; i < count; ++i) {
    bytes[i] = i;
  }
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportCheckTest,
    testing::Values(
        CheckCase{"AllAsGiven", u"", nullptr, kSuccess, u""},
        CheckCase{"OneValueDiffers", u"",
                  [](RecordingHost& h) {
                    SetD(h, {3, 0, 0, 0});
                  },
                  kErrorCantWrite,
                  u"1 entry is not as the file gives them. The first: line "
                  u"5, key \"HKEY_CURRENT_USER\\A\", value \"d\": the file "
                  u"gives REG_DWORD 0x00000002; the registry holds "
                  u"REG_DWORD 0x00000003."},
        CheckCase{"KeyMissing", u"",
                  [](RecordingHost& h) { h.keys.erase("80000001\\A"); },
                  kErrorCantWrite,
                  u"3 entries are not as the file gives them. The first: "
                  u"line 3, key \"HKEY_CURRENT_USER\\A\": the file creates "
                  u"it; the registry has no such key."},
        CheckCase{
            "DeletedValueStillThere", u"",
            [](RecordingHost& h) {
              SetD(h, {2, 0, 0, 0});
              h.keys["80000001\\A"].values["GONE"] = TestValue{"Gone", 1, {}};
            },
            kErrorCantWrite,
            u"value \"Gone\": the file deletes it; "
            u"the registry still holds it."},
        CheckCase{"KeyUnreadable", u"",
                  [](RecordingHost& h) { h.keys["80000001\\A"].readError = 5; },
                  kErrorCantWrite, u"it cannot be read: access is denied."},
        CheckCase{"UnreadableLineOnly", u"\"N\"=dword:0ffffffff\r\nx\r\n",
                  nullptr, kErrorInvalidData,
                  u"skips 2 entries that it cannot read; the first is line "
                  u"8: "
                  u"\"\"N\"=dword:0ffffffff\"."},
        CheckCase{"SkippedLineOfSixtyCharacters",
                  std::u16string(60, u'x') + u"\r\n", nullptr,
                  kErrorInvalidData,
                  u"line 8: \"" + std::u16string(60, u'x') + u"\"."},
        CheckCase{"LastEntryWins",
                  u"[HKEY_CURRENT_USER\\A]\r\n\"D\"=dword:3\r\n",
                  [](RecordingHost& h) {
                    SetD(h, {3, 0, 0, 0});
                  },
                  kSuccess, u""},
        CheckCase{"DeletedKeyNamedAgain", u"[HKEY_CURRENT_USER\\Old\\Sub]\r\n",
                  [](RecordingHost& h) { h.AddKey(kTestHkcu, "Old\\Sub"); },
                  kSuccess, u""},
        CheckCase{"DeletedKeyStillThere", u"",
                  [](RecordingHost& h) { h.AddKey(kTestHkcu, "Old"); },
                  kErrorCantWrite,
                  u"line 7, key \"HKEY_CURRENT_USER\\Old\": the file deletes "
                  u"it; the registry still holds it."},
        // What was given below a key before it is deleted goes with it.
        CheckCase{"DeletionTakesWhatCameBefore",
                  u"[HKEY_CURRENT_USER\\Old\\Sub]\r\n@=\"1\"\r\n"
                  u"[HKEY_CURRENT_USER\\OLD]\r\n\"v\"=\"2\"\r\n"
                  u"[-HKEY_CURRENT_USER\\Old]\r\n",
                  nullptr, kSuccess, u""},
        CheckCase{"KeyNamedAgainAfterItsDeletion",
                  u"[HKEY_CURRENT_USER\\Old]\r\n\"v\"=\"2\"\r\n", nullptr,
                  kErrorCantWrite,
                  u"2 entries are not as the file gives them. The first: line "
                  u"8, key \"HKEY_CURRENT_USER\\Old\": the file creates it"},
        CheckCase{"NamesDifferOnlyInCyrillicCase",
                  u"[HKEY_CURRENT_USER\\\u041a\u043b\u044e\u0447]\r\n"
                  u"\"\u0418\u043c\u044f\"=\"a\"\r\n"
                  u"[HKEY_CURRENT_USER\\\u041a\u041b\u042e\u0427]\r\n"
                  u"\"\u0418\u041c\u042f\"=\"b\"\r\n",
                  [](RecordingHost& h) {
                    HostKey key = 0;
                    h.RegCreateKeyA(kTestHkcu,
                                    "\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87", &key);
                    h.RegSetValueExA(key, "\xd0\xb8\xd0\xbc\xd1\x8f", 1,
                                     {'b', 0, 0, 0});
                    h.RegCloseKey(key);
                  },
                  kSuccess, u""},
        // Described by line, not by where the key is.
        CheckCase{"FirstByLine",
                  u"[HKEY_CURRENT_USER\\Z]\r\n[HKEY_CURRENT_USER\\B]\r\n",
                  nullptr, kErrorCantWrite,
                  u"2 entries are not as the file gives them. The first: line "
                  u"8, key \"HKEY_CURRENT_USER\\Z\""},
        CheckCase{
            "BrokenContinuation",
            u"[HKEY_CURRENT_USER\\A]\r\n\"a\"=hex:01,02,\\\r\n  zz,03\r\n",
            nullptr, kErrorInvalidData,
            u"skips 1 entry that it cannot read; the first is line 9: "
            u"\"\"a\"=hex:01,02,\\\"."},
        // What the registry holds, as told.
        CheckCase{"StringDiffers", u"",
                  [](RecordingHost& h) {
                    SetD(h, {2, 0, 0, 0});
                    // Without its closing zero.
                    h.keys["80000001\\A"].values["S"].data = {'y', 0};
                  },
                  kErrorCantWrite,
                  u"value \"S\": the file gives REG_SZ \"x\"; the registry "
                  u"holds REG_SZ \"y\"."},
        CheckCase{"DwordOfSixteenBytes", u"",
                  [](RecordingHost& h) { SetD(h, Counting(16)); },
                  kErrorCantWrite,
                  u"the registry holds REG_DWORD hex:00,01,02,03,04,05,06,07,"
                  u"08,09,0a,0b,0c,0d,0e,0f."},
        CheckCase{"ThreeBytes", u"",
                  [](RecordingHost& h) { SetD(h, Counting(3), 3); },
                  kErrorCantWrite,
                  u"the registry holds REG_BINARY hex:00,01,02."},
        CheckCase{"SeventeenBytes", u"",
                  [](RecordingHost& h) { SetD(h, Counting(17), 3); },
                  kErrorCantWrite,
                  u"the registry holds REG_BINARY hex:00,01,02,03,04,05,06,07,"
                  u"08,09,0a,0b,0c,0d,0e,0f,...."}),
    tolvu_test::ParamName<CheckCase>);

TEST(ImportExportTest, TextFileIsNoRegistryFileAndNothingIsLaunched) {
  RecordingHost host;
  host.files[u"x.reg"] = TestFile{0, 0, 0, "[HKEY_CURRENT_USER\\A]\r\n"};
  EXPECT_EQ(RunCommand(host, u"import x.reg"), kErrorInvalidData);
  ASSERT_EQ(host.boxes.size(), 1U);
  EXPECT_NE(host.boxes[0].text.find(u"\"x.reg\" is no registry file"),
            std::u16string::npos);
  EXPECT_TRUE(host.launches.empty());
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
