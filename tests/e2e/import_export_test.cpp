// Import and export through the system's registry editor, for real: the tool
// launches it and waits for it. Every run here also waits (within a bound)
// for the processes the tool started, so that a tool that did not wait fails
// a check rather than the next step; then the registry or the exported file
// is read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "access_list.h"
#include "case_fixture.h"
#include "editor_case.h"
#include "registry_probe.h"
#include "run_program.h"
#include "usage_text.h"
#include "work_files.h"

namespace tolvu_e2e {
namespace {

using tolvu_e2e::operator<<;

// --- Import -----------------------------------------------------------------

struct Import {
  const char* name;
  const wchar_t* commandLine;
  const wchar_t* fileName;  // the file written beforehand
};

class ImportFile : public EditorCase<TolvuCaseWithParam<Import>> {};

TEST_P(ImportFile, HasTheEditorSetTheValuesOfTheFile) {
  WriteImportFile(GetParam().fileName);

  const RunResult result = RunWithEditor(GetParam().commandLine);

  ExpectEditorRan(result);
  ExpectImported();
}

INSTANTIATE_TEST_SUITE_P(
    RegFiles, ImportFile,
    ::testing::Values(
        Import{"UsageExample", L"import settings.reg", L"settings.reg"},
        Import{"UpperCase", L"IMPORT SETTINGS.REG", L"settings.reg"},
        Import{"MixedCaseExtension", L"Import Settings.Reg", L"Settings.Reg"},
        // Quotes group the blank; the file is the name without them.
        Import{"QuotedStemWithBlank", L"import \"My Settings\".reg",
               L"My Settings.reg"},
        Import{"QuotedBlank", L"import My\" \"Settings.reg",
               L"My Settings.reg"},
        Import{"WhollyQuoted", L"import \"settings.reg\"", L"settings.reg"},
        Import{"WhollyQuotedFullPathWithBlank",
               L"import \"{work}\\My Settings.reg\"", L"My Settings.reg"},
        // Outside code page 1252: the tool passes UTF-8.
        Import{"NameInAnyLanguage", L"import \u0141\u00f3d\u017a.reg",
               L"\u0141\u00f3d\u017a.reg"}),
    ParamName<Import>);

// What the status of an import says, after the real editor: 0 only when the
// registry holds all the file gives.
struct Checked {
  const char* name;
  // The file's text: a registry file's lines after the key's; nullptr: the
  // key's values of every common type, exported by the editor itself; with
  // asText, a text file of the line alone.
  const wchar_t* lines;
  bool asText;
  DWORD exitCode;
  const wchar_t* mentions;  // in the one box; nullptr: no box
};

class ImportStatus : public EditorCase<TolvuCaseWithParam<Checked>> {};

TEST_P(ImportStatus, SaysWhetherTheRegistryHoldsTheFile) {
  const Checked& param = GetParam();
  const std::wstring key = CaseKey() + L"\\Imported";
  std::vector<std::wstring> tree;
  if (param.lines == nullptr) {
    std::vector<std::uint8_t> blob(100, 0xA5);
    const std::wstring multi(L"one\0two\0\0", 9);
    ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, key, L"Text", Sz(L"caf\u00e9")));
    ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, key, L"Number", Dword(7)));
    ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, key, L"Long", Binary(blob)));
    ASSERT_TRUE(WriteValue(
        HKEY_CURRENT_USER, key, L"Path",
        {REG_EXPAND_SZ, Utf16Bytes(std::wstring(L"%TEMP%\\x\0", 9))}));
    ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, key, L"List",
                           {REG_MULTI_SZ, Utf16Bytes(multi)}));
    ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, key, L"Big",
                           {REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}}));
    ASSERT_TRUE(
        WriteValue(HKEY_CURRENT_USER, key + L"\\Sub", L"", {REG_NONE, {9}}));
    tree = KeyTree(HKEY_CURRENT_USER, key);
    const RunResult exported = RunProgram(
        EditorPath(),
        L"/e \"" + InWork(L"settings.reg") + L"\" HKEY_CURRENT_USER\\" + key,
        WorkDir(), kEditorWaitMs);
    ASSERT_EQ(exported.exitCode, 0U);
    DeleteKeyTree(HKEY_CURRENT_USER, key);
  } else if (param.asText) {
    const std::string text(param.lines, param.lines + wcslen(param.lines));
    ASSERT_TRUE(
        WriteFileBytes(InWork(L"settings.reg"),
                       std::vector<std::uint8_t>(text.begin(), text.end())));
  } else {
    WriteImportFile(L"settings.reg");
    std::vector<std::uint8_t> bytes = *ReadFileBytes(InWork(L"settings.reg"));
    const std::vector<std::uint8_t> more = Utf16Bytes(param.lines);
    bytes.insert(bytes.end(), more.begin(), more.end());
    ASSERT_TRUE(WriteFileBytes(InWork(L"settings.reg"), bytes));
    tree = {L":Bytes", L":Number", L":Text"};
  }

  const RunResult result = RunWithEditor(L"import settings.reg");

  EXPECT_EQ(result.exitCode, param.exitCode);
  EXPECT_EQ(result.processesStarted, param.asText ? 0U : 1U);
  ASSERT_EQ(result.boxes.size(), param.mentions == nullptr ? 0U : 1U)
      << ::testing::PrintToString(result);
  if (param.mentions != nullptr) {
    EXPECT_NE(result.boxes[0].text.find(param.mentions), std::wstring::npos)
        << ::testing::PrintToString(result.boxes[0]);
  }
  EXPECT_EQ(KeyTree(HKEY_CURRENT_USER, key), tree);
}

INSTANTIATE_TEST_SUITE_P(
    RegFiles, ImportStatus,
    ::testing::Values(
        Checked{"TheEditorsOwnExportOfEveryType", nullptr, false, 0, nullptr},
        // The editor skips the line and imports the rest.
        Checked{"LineTheEditorSkips", L"\"Bad\"=dword:0ffffffff\r\n", false,
                ERROR_INVALID_DATA,
                L"the first is line 8: \"\"Bad\"=dword:0ffffffff\""},
        // One value, its name in two cases: created, then deleted.
        Checked{"NamesDifferOnlyInCase",
                L"\"\u0418\u043c\u044f\"=\"a\"\r\n\"\u0438\u041c\u042f\"=-\r\n",
                false, 0, nullptr},
        Checked{"TextFile", L"[HKEY_CURRENT_USER\\Software]\r\n", true,
                ERROR_INVALID_DATA, L"\"settings.reg\" is no registry file"}),
    ParamName<Checked>);

// --- Export -----------------------------------------------------------------

struct Export {
  const char* name;
  const wchar_t* commandLine;
  HKEY root;
  const wchar_t* rootName;   // as the editor writes it
  const wchar_t* keySuffix;  // after the case key: the key exported
  const wchar_t* valueLine;  // the line that must follow the key's line
  const wchar_t* fileName;   // the file written
  bool replacesAFile;        // an older file of that name exists before
};

class ExportKey : public EditorCase<TolvuCaseWithParam<Export>> {};

constexpr const wchar_t* kOldExportText = L"an older export, to be replaced";

TEST_P(ExportKey, HasTheEditorWriteTheKeyToTheFile) {
  const Export& param = GetParam();
  PlantExportKeys(param.root);
  if (param.replacesAFile) {
    ASSERT_TRUE(
        WriteFileBytes(InWork(param.fileName), RegFileBytes(kOldExportText)));
  }

  const RunResult result = RunWithEditor(param.commandLine);

  ExpectEditorRan(result);
  EXPECT_EQ(FolderEntries(WorkDir()),
            std::vector<std::wstring>{param.fileName});
  const std::optional<std::wstring> text =
      ReadUtf16File(InWork(param.fileName));
  ASSERT_TRUE(text.has_value()) << "no UTF-16 file was exported";
  EXPECT_EQ(text->rfind(L"Windows Registry Editor Version 5.00\r\n", 0), 0U)
      << Utf8(*text);
  const std::wstring keyAndValue = std::wstring(L"\r\n[") + param.rootName +
                                   L"\\" + CaseKey() + param.keySuffix +
                                   L"]\r\n" + param.valueLine + L"\r\n";
  EXPECT_NE(text->find(keyAndValue), std::wstring::npos)
      << Utf8(*text) << "\nshould hold\n"
      << Utf8(keyAndValue);
  EXPECT_EQ(text->find(kOldExportText), std::wstring::npos) << Utf8(*text);
}

INSTANTIATE_TEST_SUITE_P(
    RegFiles, ExportKey,
    ::testing::Values(
        Export{"UsageExample", L"export {key} out.reg", HKEY_CURRENT_USER,
               L"HKEY_CURRENT_USER", L"", L"\"Name\"=\"Value\"", L"out.reg",
               false},
        Export{"ReplacesAnExistingFile", L"export {key} out.reg",
               HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", L"",
               L"\"Name\"=\"Value\"", L"out.reg", true},
        Export{"UpperCase", L"EXPORT {key} OUT.REG", HKEY_CURRENT_USER,
               L"HKEY_CURRENT_USER", L"", L"\"Name\"=\"Value\"", L"OUT.REG",
               false},
        Export{"KeyPathWithBlank", L"export \"{key}\\My Key\" out.reg",
               HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", L"\\My Key",
               L"\"Which\"=\"whole\"", L"out.reg", false},
        Export{"HkcuLongName", L"export HKEY_CURRENT_USER\\{subkey}\\My x.reg",
               HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", L"\\My",
               L"\"Which\"=\"cut short\"", L"x.reg", false},
        Export{"Hklm", L"export HKLM\\{subkey} out.reg", HKEY_LOCAL_MACHINE,
               L"HKEY_LOCAL_MACHINE", L"", L"\"Name\"=\"Value\"", L"out.reg",
               false},
        Export{"FileNameWithBlankReplacesAFile",
               L"export {key} \"My Export\".reg", HKEY_CURRENT_USER,
               L"HKEY_CURRENT_USER", L"", L"\"Name\"=\"Value\"",
               L"My Export.reg", true},
        Export{"WhollyQuotedFullPathWithBlank",
               L"export {key} \"{work}\\My Export.reg\"", HKEY_CURRENT_USER,
               L"HKEY_CURRENT_USER", L"", L"\"Name\"=\"Value\"",
               L"My Export.reg", true},
        Export{"NameInAnyLanguageReplacesAFile",
               L"export {key} \u042d\u043a\u0441\u043f\u043e\u0440\u0442.reg",
               HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", L"",
               L"\"Name\"=\"Value\"",
               L"\u042d\u043a\u0441\u043f\u043e\u0440\u0442.reg", true}),
    ParamName<Export>);

using ExportKeyPath = EditorCase<TolvuCase>;

TEST_F(ExportKeyPath, WithABlankExportsNoKeyCutAtTheBlank) {
  PlantExportKeys(HKEY_CURRENT_USER);

  const RunResult result = RunWithEditor(L"export \"{key}\\My Key\" out.reg");

  ExpectEditorRan(result);
  const std::optional<std::wstring> text = ReadUtf16File(InWork(L"out.reg"));
  ASSERT_TRUE(text.has_value()) << "no UTF-16 file was exported";
  EXPECT_EQ(text->find(L"cut short"), std::wstring::npos) << Utf8(*text);
  EXPECT_EQ(text->find(L"\\My]"), std::wstring::npos) << Utf8(*text);
}

// An export replaces a target locked down to Administrators with a file
// locked down the same way: the new file takes the old one's access list
// before the editor writes into it.
using ExportAccessList = EditorCase<TolvuCase>;

TEST_F(ExportAccessList, OfALockedDownTargetIsKept) {
  if (RunningUnderWine()) {
    GTEST_SKIP() << "Wine keeps no access lists on files";
  }
  PlantExportKeys(HKEY_CURRENT_USER);
  ASSERT_TRUE(WriteFileBytes(InWork(L"out.reg"), RegFileBytes(L"; old")));
  ASSERT_TRUE(LockDownToAdministrators(InWork(L"out.reg")));
  const std::optional<AccessList> before = FileAccessList(InWork(L"out.reg"));
  ASSERT_TRUE(before.has_value());
  ASSERT_TRUE(before->isProtected);
  ASSERT_EQ(before->entries.rfind(L"(A;;FA;;;BA)", 0), 0U)
      << Utf8(before->entries);

  const RunResult result = RunWithEditor(L"export {key} out.reg");

  ExpectEditorRan(result);
  EXPECT_EQ(FileAccessList(InWork(L"out.reg")), before);
  const std::optional<std::wstring> text = ReadUtf16File(InWork(L"out.reg"));
  ASSERT_TRUE(text.has_value()) << "no UTF-16 file was exported";
  EXPECT_NE(text->find(L"\"Name\"=\"Value\""), std::wstring::npos);
}

// Imports and exports refused before anything is deleted or started: the
// files in the folder keep their bytes.
struct Refused {
  const char* name;
  const wchar_t* commandLine;
  std::vector<const wchar_t*> files;  // written beforehand
  bool firstReadOnly;
  DWORD exitCode;
  // nullptr: the usage box; otherwise one description box mentioning it.
  const wchar_t* mentions;
};

class Refusal : public EditorCase<TolvuCaseWithParam<Refused>> {};

TEST_P(Refusal, KeepsEveryFileAndStartsNothing) {
  const Refused& param = GetParam();
  PlantExportKeys(HKEY_CURRENT_USER);
  for (const wchar_t* file : param.files) {
    ASSERT_TRUE(
        WriteFileBytes(InWork(file), RegFileBytes(std::wstring(L"; ") + file)));
  }
  if (param.firstReadOnly) {
    ASSERT_NE(SetFileAttributesW(InWork(param.files[0]).c_str(),
                                 FILE_ATTRIBUTE_READONLY),
              0);
  }
  const auto before = FolderContents(WorkDir());

  const RunResult result = RunWithEditor(param.commandLine);

  EXPECT_EQ(result.exitCode, param.exitCode);
  EXPECT_EQ(result.processesStarted, 0U);
  EXPECT_EQ(FolderContents(WorkDir()), before);
  if (param.mentions == nullptr) {
    EXPECT_EQ(result.boxes, std::vector<Box>{UsageBox()});
  } else {
    ASSERT_EQ(result.boxes.size(), 1U) << ::testing::PrintToString(result);
    EXPECT_EQ(result.boxes[0].title, L"Tolvu");
    EXPECT_EQ(result.boxes[0].icon, BoxIcon::None);
    EXPECT_NE(result.boxes[0].text.find(param.mentions), std::wstring::npos)
        << ::testing::PrintToString(result.boxes[0]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    RegFiles, Refusal,
    ::testing::Values(Refused{"ImportOtherExtension",
                              L"import settings.txt",
                              {L"settings.txt"},
                              false,
                              ERROR_INVALID_COMMAND_LINE,
                              nullptr},
                      Refused{"ImportRegNotAtTheEnd",
                              L"import settings.reg.txt",
                              {L"settings.reg.txt"},
                              false,
                              ERROR_INVALID_COMMAND_LINE,
                              nullptr},
                      Refused{"ImportMissingFile",
                              L"import missing.reg",
                              {L"other.reg"},
                              false,
                              ERROR_FILE_NOT_FOUND,
                              L"\"missing.reg\""},
                      Refused{"ImportMissingFolder",
                              L"import Gone\\settings.reg",
                              {L"settings.reg"},
                              false,
                              ERROR_PATH_NOT_FOUND,
                              L"Gone\\settings.reg"},
                      Refused{"ExportMissingKey",
                              L"export {key}\\Missing \"My Export\".reg",
                              {L"My Export.reg"},
                              false,
                              ERROR_FILE_NOT_FOUND,
                              L"Missing\" cannot be exported"},
                      Refused{"ExportMissingFolder",
                              L"export {key} Gone\\out.reg",
                              {L"out.reg"},
                              false,
                              ERROR_PATH_NOT_FOUND,
                              L"Gone\\out.reg"},
                      // Without a backslash the key names no root key.
                      Refused{"NoRootKey",
                              L"export NoBackslash out.reg",
                              {L"out.reg"},
                              false,
                              ERROR_INVALID_COMMAND_LINE,
                              nullptr},
                      Refused{"RootKeyNone",
                              L"export NONE\\{subkey} out.reg",
                              {L"out.reg"},
                              false,
                              ERROR_INVALID_COMMAND_LINE,
                              nullptr},
                      Refused{"OtherExtension",
                              L"export {key} out.txt",
                              {L"out.txt"},
                              false,
                              ERROR_INVALID_COMMAND_LINE,
                              nullptr},
                      Refused{"StarInFileName",
                              L"export {key} *.reg",
                              {L"a.reg", L"b.reg"},
                              false,
                              ERROR_INVALID_NAME,
                              L"*.reg"},
                      Refused{"QuestionMarkInFileName",
                              L"export {key} ?.reg",
                              {L"a.reg", L"b.reg"},
                              false,
                              ERROR_INVALID_NAME,
                              L"?.reg"},
                      Refused{"ReadOnlyTarget",
                              L"export {key} out.reg",
                              {L"out.reg"},
                              true,
                              ERROR_ACCESS_DENIED,
                              L"out.reg"},
                      Refused{"ReadOnlyTargetNamedInQuotes",
                              L"export {key} \"My Export\".reg",
                              {L"My Export.reg"},
                              true,
                              ERROR_ACCESS_DENIED,
                              L"\"My Export.reg\""}),
    ParamName<Refused>);

// A device's name opens no file: refused as such, nothing started, nothing
// made. Windows 11 takes NUL.reg and its like for plain files, and then the
// export writes one; either answer is right, by what the system makes of
// the name.
struct DeviceNamed {
  const char* name;
  const wchar_t* fileName;
};

class DeviceName : public EditorCase<TolvuCaseWithParam<DeviceNamed>> {};

bool OpensADevice(const std::wstring& path) {
  HANDLE found = CreateFileW(
      path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, 0, nullptr);
  if (found == INVALID_HANDLE_VALUE) {
    return false;
  }
  const bool device = GetFileType(found) != FILE_TYPE_DISK;
  CloseHandle(found);
  return device;
}

TEST_P(DeviceName, IsRefusedOrExportedAsTheSystemTakesIt) {
  const std::wstring fileName = GetParam().fileName;
  PlantExportKeys(HKEY_CURRENT_USER);
  const bool device = OpensADevice(InWork(fileName));

  const RunResult result = RunWithEditor(L"export {key} " + fileName);

  if (!device) {
    ExpectEditorRan(result);
    EXPECT_EQ(FolderEntries(WorkDir()), std::vector<std::wstring>{fileName});
    return;
  }
  EXPECT_EQ(result.exitCode, static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_EQ(result.processesStarted, 0U);
  EXPECT_EQ(FolderEntries(WorkDir()), std::vector<std::wstring>{});
  ASSERT_EQ(result.boxes.size(), 1U) << ::testing::PrintToString(result);
  EXPECT_NE(result.boxes[0].text.find(
                L"\"" + fileName + L"\" is the name of a device, not a file"),
            std::wstring::npos)
      << ::testing::PrintToString(result.boxes[0]);
}

INSTANTIATE_TEST_SUITE_P(RegFiles, DeviceName,
                         ::testing::Values(DeviceNamed{"Nul", L"NUL.reg"},
                                           DeviceNamed{"Com1", L"COM1.reg"},
                                           DeviceNamed{"Aux", L"AUX.reg"}),
                         ParamName<DeviceNamed>);

// --- Which editor runs ------------------------------------------------------

// With a regedit.exe in the working folder, the tool must still start the
// system's editor, never that one.
class PlantedEditor : public EditorCase<TolvuCase> {
 protected:
  void SetUp() override {
    EditorCase<TolvuCase>::SetUp();
    PlantEditor();
  }
};

// Without this the cases below could not tell a run of the plant.
TEST_F(PlantedEditor, LeavesItsMarkerWhenRun) {
  const RunResult result =
      RunProgram(InWork(kEditorName), L"/s settings.reg", WorkDir());
  EXPECT_EQ(result.exitCode, 0U);
  EXPECT_TRUE(PlantRan());
}

TEST_F(PlantedEditor, IsNotRunForAnImport) {
  WriteImportFile(L"settings.reg");

  const RunResult result = RunWithEditor(L"import settings.reg");

  ExpectEditorRan(result);
  EXPECT_FALSE(PlantRan());
  ExpectImported();
}

TEST_F(PlantedEditor, IsNotRunForAnExport) {
  PlantExportKeys(HKEY_CURRENT_USER);

  const RunResult result = RunWithEditor(L"export {key} out.reg");

  ExpectEditorRan(result);
  EXPECT_FALSE(PlantRan());
  const std::optional<std::wstring> text = ReadUtf16File(InWork(L"out.reg"));
  ASSERT_TRUE(text.has_value()) << "no UTF-16 file was exported";
  EXPECT_NE(text->find(L"\"Name\"=\"Value\""), std::wstring::npos)
      << Utf8(*text);
}

struct Launch {
  const char* name;
  const wchar_t* commandLine;
  bool planted;  // a stand-in waits in the folder as regedit.exe
  InItsPlace inItsPlace;
};

// With the system's editor moved aside the launch fails, and the tool says so
// in the launch error box. Nor does it fall back on a regedit.exe in its
// folder: under Wine a bare "regedit.exe" finds the system's editor before
// the current folder, so only without it would such a search reach a plant.
// A folder in the editor's place is no editor either: the shell would open
// it in a file window.
class EditorMissing : public EditorCase<TolvuCaseWithParam<Launch>> {
 protected:
  void SetUp() override {
    EditorCase<TolvuCaseWithParam<Launch>>::SetUp();
    aside_.emplace(GetParam().inItsPlace);
    ASSERT_EQ(Utf8(aside_->Error()), "");
  }
  void TearDown() override {
    aside_.reset();
    const DWORD attributes = GetFileAttributesW(EditorPath().c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        << "the registry editor is not back";
    EditorCase<TolvuCaseWithParam<Launch>>::TearDown();
  }

 private:
  std::optional<EditorAside> aside_;
};

TEST_P(EditorMissing, ShowsTheLaunchErrorAndStartsNothing) {
  PlantExportKeys(HKEY_CURRENT_USER);
  WriteImportFile(L"settings.reg");
  ASSERT_TRUE(WriteFileBytes(InWork(L"out.reg"), RegFileBytes(L"; old")));
  if (GetParam().planted) {
    PlantEditor();
  }
  const auto before = FolderContents(WorkDir());

  const RunResult result = RunWithEditor(GetParam().commandLine);

  EXPECT_EQ(
      result.boxes,
      (std::vector<Box>{{L"Error", L"File not found", BoxIcon::Exclamation}}));
  // The launch's "file not found", as a Win32 status.
  EXPECT_EQ(result.exitCode, DWORD{ERROR_FILE_NOT_FOUND});
  EXPECT_EQ(result.processesStarted, 0U);
  EXPECT_FALSE(PlantRan());
  EXPECT_EQ(KeyTree(HKEY_CURRENT_USER, CaseKey() + L"\\Imported"),
            std::vector<std::wstring>{});
  // Found missing before the old export file was touched.
  EXPECT_EQ(FolderContents(WorkDir()), before);
}

constexpr auto kNothing = InItsPlace::Nothing;
constexpr auto kFolder = InItsPlace::Folder;

INSTANTIATE_TEST_SUITE_P(
    RegFiles, EditorMissing,
    ::testing::Values(Launch{"Import", L"import settings.reg", false, kNothing},
                      Launch{"Export", L"export {key} out.reg", false,
                             kNothing},
                      Launch{"ImportWithAPlantInTheFolder",
                             L"import settings.reg", true, kNothing},
                      Launch{"ExportWithAPlantInTheFolder",
                             L"export {key} out.reg", true, kNothing},
                      Launch{"ImportWithAFolderInItsPlace",
                             L"import settings.reg", false, kFolder},
                      Launch{"ExportWithAFolderInItsPlace",
                             L"export {key} out.reg", false, kFolder}),
    ParamName<Launch>);

// A stand-in in the editor's place, told through TOLVU_E2E_EDITOR how long
// to run, what to write and how long to keep its file open after it ends:
// the tool ends only after it, and the old file stays at its name, byte for
// byte, until a whole new file replaces it. A run stopped from outside may
// leave its new file behind, but never a missing or changed target.
struct StandIn {
  const char* name;
  const wchar_t* commandLine;
  const wchar_t* script;
  DWORD exitCode;
  const wchar_t* mentions;  // in the one box; nullptr: no box
  // After the version line of out.reg afterwards, with {subkey} as for the
  // command line; nullptr: the old bytes.
  const wchar_t* outBody;
  DWORD stopAfterMs;    // the tool is stopped from outside; 0: never
  DWORD processes = 1;  // that the tool's run started
};

class StandInEditor : public EditorCase<TolvuCaseWithParam<StandIn>> {
 protected:
  void SetUp() override {
    EditorCase<TolvuCaseWithParam<StandIn>>::SetUp();
    aside_.emplace(InItsPlace::StandIn);
    ASSERT_EQ(Utf8(aside_->Error()), "");
    SetEnvironmentVariableW(L"TOLVU_E2E_EDITOR", GetParam().script);
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"TOLVU_E2E_EDITOR", nullptr);
    aside_.reset();
    EditorCase<TolvuCaseWithParam<StandIn>>::TearDown();
  }

 private:
  std::optional<EditorAside> aside_;
};

TEST_P(StandInEditor, IsWaitedForAndTheOldFileKeptUnlessReplaced) {
  const StandIn& param = GetParam();
  PlantExportKeys(HKEY_CURRENT_USER);
  WriteImportFile(L"settings.reg");
  const std::vector<std::uint8_t> old = RegFileBytes(L"; old");
  ASSERT_TRUE(WriteFileBytes(InWork(L"out.reg"), old));

  // No waiting beyond the tool's own end; a stopped tool cannot wait, so
  // then the editor's end is waited for here.
  const bool stopped = param.stopAfterMs != 0;
  const RunResult result = RunProgram(
      BesideThisProgram(L"tolvu.exe"), WithCaseKey(param.commandLine),
      WorkDir(), stopped ? param.stopAfterMs : kDefaultRunTimeoutMs,
      stopped ? kEditorWaitMs : 0);

  EXPECT_EQ(result.timedOut, stopped);
  EXPECT_EQ(result.exitCode, param.exitCode);
  EXPECT_EQ(result.processesStarted, param.processes);
  EXPECT_FALSE(result.startedStillRunning) << "the tool did not wait";
  ASSERT_EQ(result.boxes.size(), param.mentions == nullptr ? 0U : 1U);
  if (param.mentions != nullptr) {
    EXPECT_NE(result.boxes[0].text.find(param.mentions), std::wstring::npos)
        << ::testing::PrintToString(result.boxes[0]);
  }
  EXPECT_EQ(ReadFileBytes(InWork(L"out.reg")),
            param.outBody == nullptr
                ? old
                : RegFileBytes(WithCaseKey(param.outBody)));
  std::vector<std::wstring> entries = FolderEntries(WorkDir());
  const auto newFile = std::find_if(
      entries.begin(), entries.end(),
      [](const auto& name) { return name.rfind(L"out.reg.tolvu-", 0) == 0; });
  if (stopped && newFile != entries.end()) {
    entries.erase(newFile);
  }
  EXPECT_EQ(entries, (std::vector<std::wstring>{L"cmdline.txt", L"out.reg",
                                                L"settings.reg"}));
}

INSTANTIATE_TEST_SUITE_P(
    RegFiles, StandInEditor,
    ::testing::Values(
        StandIn{"ExportWaitedFor", L"export {key} out.reg", L"sleep 3000 write",
                0, nullptr,
                L"[HKEY_CURRENT_USER\\{subkey}]\r\n; stand-in export\r\n", 0},
        // As a virus scanner does with a new file: the tool waits it out.
        StandIn{"ExportHeldForASecondAfterwards", L"export {key} out.reg",
                L"write hold 1000", 0, nullptr,
                L"[HKEY_CURRENT_USER\\{subkey}]\r\n; stand-in export\r\n", 0,
                2},
        // The stand-in imports nothing.
        StandIn{"ImportWaitedFor", L"import settings.reg", L"sleep 3000",
                ERROR_CANTWRITE, L"4 entries are not as the file gives them",
                nullptr, 0},
        StandIn{"ExportWritingNothingKeepsTheOldFile", L"export {key} out.reg",
                L"", ERROR_CANNOT_MAKE, L"wrote no whole export to \"out.reg\"",
                nullptr, 0},
        // What a full disk or a quota leaves.
        StandIn{"ExportWritingAnEmptyFileKeepsTheOldFile",
                L"export {key} out.reg", L"empty", ERROR_CANNOT_MAKE,
                L"wrote no whole export to \"out.reg\"", nullptr, 0},
        // As a deployment agent's time limit does; the harness's exit code.
        StandIn{"ExportStoppedFromOutsideKeepsTheOldFile",
                L"export {key} out.reg", L"sleep 8000 write", 1, nullptr,
                nullptr, 3000}),
    ParamName<StandIn>);

}  // namespace
}  // namespace tolvu_e2e
