// Import and export through the system's registry editor, for real: the tool
// launches it and does not wait, so every run here also waits (within a
// bound) for the processes the tool started, then reads the registry or the
// exported file.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "case_fixture.h"
#include "exit_status.h"
#include "registry_probe.h"
#include "run_program.h"
#include "usage_text.h"
#include "work_files.h"

namespace tolvu_e2e {
namespace {

// Placeholders in command lines: {key} is HKCU\Software\TolvuE2E\<case>,
// {subkey} the same without HKCU\.

// Ample for the editor to import or export a handful of values under Wine;
// a case fails rather than hangs when it does not finish.
constexpr DWORD kEditorWaitMs = 20000;

template <typename Param>
std::string ParamName(const ::testing::TestParamInfo<Param>& info) {
  return info.param.name;
}

std::wstring WindowsFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  folder.resize(GetWindowsDirectoryW(folder.data(), MAX_PATH));
  return folder;
}

std::wstring EditorPath() { return WindowsFolder() + L"\\regedit.exe"; }

// Where a case puts the editor to make it unavailable.
std::wstring EditorAsidePath() {
  return WindowsFolder() + L"\\regedit.exe.tolvu-e2e-aside";
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Puts the editor back if a case moved it aside and could not return it
// (an interrupted run): every later run in the prefix needs it.
void RestoreEditor() {
  if (!Exists(EditorPath()) && Exists(EditorAsidePath())) {
    MoveFileW(EditorAsidePath().c_str(), EditorPath().c_str());
  }
}

// A registry file as the editor writes and reads it: UTF-16LE with its byte
// order mark, the version line, a blank line, then `body`.
std::vector<std::uint8_t> RegFileBytes(const std::wstring& body) {
  std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
  const std::vector<std::uint8_t> text =
      Utf16Bytes(L"Windows Registry Editor Version 5.00\r\n\r\n" + body);
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

// The text of a UTF-16LE file with a byte order mark; nothing otherwise.
std::optional<std::wstring> ReadUtf16File(const std::wstring& path) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes || bytes->size() < 2 || (*bytes)[0] != 0xFF ||
      (*bytes)[1] != 0xFE || bytes->size() % 2 != 0) {
    return std::nullopt;
  }
  std::wstring text;
  for (size_t i = 2; i < bytes->size(); i += 2) {
    text.push_back(static_cast<wchar_t>((*bytes)[i] | ((*bytes)[i + 1] << 8)));
  }
  return text;
}

// Every file of a folder with its bytes, to show that nothing changed.
std::map<std::wstring, std::vector<std::uint8_t>> FolderContents(
    const std::wstring& folder) {
  std::map<std::wstring, std::vector<std::uint8_t>> contents;
  for (const auto& name : FolderEntries(folder)) {
    const std::wstring path = folder + L"\\";
    contents[name] =
        ReadFileBytes(path + name).value_or(std::vector<std::uint8_t>{});
  }
  return contents;
}

// Cases around the editor: they run the tool and wait for what it started,
// may use the case key below HKEY_LOCAL_MACHINE, and may leave read-only
// files that the folder's removal needs writable again.
template <typename Base>
class EditorCase : public Base {
 protected:
  void SetUp() override {
    RestoreEditor();
    Base::SetUp();
    DeleteKeyTree(HKEY_LOCAL_MACHINE, this->CaseKey());
  }

  void TearDown() override {
    for (const auto& name : FolderEntries(this->WorkDir())) {
      SetFileAttributesW(InWork(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    DeleteKeyTree(HKEY_LOCAL_MACHINE, this->CaseKey());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, std::wstring(kSuiteKey).c_str());
    Base::TearDown();
  }

  std::wstring InWork(const std::wstring& name) const {
    return this->WorkDir() + L"\\" + name;
  }

  RunResult RunWithEditor(const std::wstring& commandLine) const {
    return RunProgram(BesideThisProgram(L"tolvu.exe"),
                      this->WithCaseKey(commandLine), this->WorkDir(),
                      kDefaultRunTimeoutMs, kEditorWaitMs);
  }

  // A file that sets three values of the key Imported below the case key.
  void WriteImportFile(const std::wstring& name) const {
    ASSERT_TRUE(WriteFileBytes(
        InWork(name), RegFileBytes(L"[HKEY_CURRENT_USER\\" + this->CaseKey() +
                                   L"\\Imported]\r\n"
                                   L"\"Text\"=\"imported text\"\r\n"
                                   L"\"Number\"=dword:0001e240\r\n"
                                   L"\"Bytes\"=hex:41,42,43\r\n\r\n")));
  }

  void ExpectImported() const {
    const std::wstring key = this->CaseKey() + L"\\Imported";
    EXPECT_EQ(
        KeyTree(HKEY_CURRENT_USER, this->CaseKey()),
        (std::vector<std::wstring>{L"Imported", L"Imported:Bytes",
                                   L"Imported:Number", L"Imported:Text"}));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, L"Text"), Sz(L"imported text"));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, L"Number"), Dword(123456));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, L"Bytes"),
              Binary({0x41, 0x42, 0x43}));
  }

  // A harmless marker program as regedit.exe in the working folder: run, it
  // leaves planted-ran.txt there.
  void PlantEditor() const {
    ASSERT_NE(CopyFileW(BesideThisProgram(L"planted_marker.exe").c_str(),
                        InWork(L"regedit.exe").c_str(), TRUE),
              0);
  }

  bool PlantRan() const { return Exists(InWork(L"planted-ran.txt")); }

  // The case key with one value, and two subkeys whose names differ only
  // after a blank: a key path cut at its blank exports the wrong one.
  void PlantExportKeys(HKEY root) const {
    const std::wstring key = this->CaseKey();
    ASSERT_TRUE(WriteValue(root, key, L"Name", Sz(L"Value")));
    ASSERT_TRUE(WriteValue(root, key + L"\\My", L"Which", Sz(L"cut short")));
    ASSERT_TRUE(WriteValue(root, key + L"\\My Key", L"Which", Sz(L"whole")));
  }
};

// A run that started the editor, which then ended within the bound.
void ExpectEditorRan(const RunResult& result) {
  EXPECT_EQ(result.boxes, std::vector<Box>{});
  EXPECT_EQ(result.exitCode, 0U);
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.processesStarted, 1U) << ::testing::PrintToString(result);
  EXPECT_FALSE(result.startedStillRunning);
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) {
    narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return narrow;
}

// --- Import -----------------------------------------------------------------

struct Import {
  const char* name;
  const wchar_t* commandLine;
  const wchar_t* fileName;  // the file written beforehand
};

void PrintTo(const Import& param, std::ostream* out) { *out << param.name; }

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
        Import{"MixedCaseExtension", L"Import Settings.Reg", L"Settings.Reg"}),
    ParamName<Import>);

// Requests that get the usage box and start nothing, though each names a
// file the editor could import.
class ImportRefused : public EditorCase<TolvuCaseWithParam<Import>> {};

TEST_P(ImportRefused, ShowsTheUsageAndStartsNothing) {
  WriteImportFile(GetParam().fileName);

  const RunResult result = RunWithEditor(GetParam().commandLine);

  EXPECT_EQ(result.boxes, std::vector<Box>{UsageBox()});
  EXPECT_EQ(result.exitCode, kExitUsage);
  EXPECT_EQ(result.processesStarted, 0U);
  EXPECT_EQ(KeyTree(HKEY_CURRENT_USER, CaseKey()), std::vector<std::wstring>{});
}

INSTANTIATE_TEST_SUITE_P(
    RegFiles, ImportRefused,
    ::testing::Values(
        Import{"OtherExtension", L"import settings.txt", L"settings.txt"},
        Import{"RegNotAtTheEnd", L"import settings.reg.txt",
               L"settings.reg.txt"},
        // The closing quote stays part of the name.
        Import{"QuotedFileName", L"import \"settings.reg\"", L"settings.reg"}),
    ParamName<Import>);

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

void PrintTo(const Export& param, std::ostream* out) { *out << param.name; }

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
      << Narrow(*text);
  const std::wstring keyAndValue = std::wstring(L"\r\n[") + param.rootName +
                                   L"\\" + CaseKey() + param.keySuffix +
                                   L"]\r\n" + param.valueLine + L"\r\n";
  EXPECT_NE(text->find(keyAndValue), std::wstring::npos)
      << Narrow(*text) << "\nshould hold\n"
      << Narrow(keyAndValue);
  EXPECT_EQ(text->find(kOldExportText), std::wstring::npos) << Narrow(*text);
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
               false}),
    ParamName<Export>);

using ExportKeyPath = EditorCase<TolvuCase>;

TEST_F(ExportKeyPath, WithABlankExportsNoKeyCutAtTheBlank) {
  PlantExportKeys(HKEY_CURRENT_USER);

  const RunResult result = RunWithEditor(L"export \"{key}\\My Key\" out.reg");

  ExpectEditorRan(result);
  const std::optional<std::wstring> text = ReadUtf16File(InWork(L"out.reg"));
  ASSERT_TRUE(text.has_value()) << "no UTF-16 file was exported";
  EXPECT_EQ(text->find(L"cut short"), std::wstring::npos) << Narrow(*text);
  EXPECT_EQ(text->find(L"\\My]"), std::wstring::npos) << Narrow(*text);
}

// Exports refused before anything is deleted or started: the files in the
// folder keep their bytes.
struct Refused {
  const char* name;
  const wchar_t* commandLine;
  std::vector<const wchar_t*> files;  // written beforehand
  bool firstReadOnly;
  DWORD exitCode;
  // nullptr: the usage box; otherwise one description box mentioning it.
  const wchar_t* mentions;
};

void PrintTo(const Refused& param, std::ostream* out) { *out << param.name; }

class ExportRefused : public EditorCase<TolvuCaseWithParam<Refused>> {};

TEST_P(ExportRefused, KeepsEveryFileAndStartsNothing) {
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

INSTANTIATE_TEST_SUITE_P(RegFiles, ExportRefused,
                         ::testing::Values(
                             // Without a backslash the key names no root key.
                             Refused{"NoRootKey",
                                     L"export NoBackslash out.reg",
                                     {L"out.reg"},
                                     false,
                                     kExitUsage,
                                     nullptr},
                             Refused{"RootKeyNone",
                                     L"export NONE\\{subkey} out.reg",
                                     {L"out.reg"},
                                     false,
                                     kExitUsage,
                                     nullptr},
                             Refused{"OtherExtension",
                                     L"export {key} out.txt",
                                     {L"out.txt"},
                                     false,
                                     kExitUsage,
                                     nullptr},
                             Refused{"QuotedFileName",
                                     L"export {key} \"out.reg\"",
                                     {L"out.reg"},
                                     false,
                                     kExitUsage,
                                     nullptr},
                             Refused{"StarInFileName",
                                     L"export {key} *.reg",
                                     {L"a.reg", L"b.reg"},
                                     false,
                                     kExitInvalidName,
                                     L"*.reg"},
                             Refused{"QuestionMarkInFileName",
                                     L"export {key} ?.reg",
                                     {L"a.reg", L"b.reg"},
                                     false,
                                     kExitInvalidName,
                                     L"?.reg"},
                             Refused{"ReadOnlyTarget",
                                     L"export {key} out.reg",
                                     {L"out.reg"},
                                     true,
                                     kExitAccessDenied,
                                     L"out.reg"}),
                         ParamName<Refused>);

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
      RunProgram(InWork(L"regedit.exe"), L"/s settings.reg", WorkDir());
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
      << Narrow(*text);
}

struct Launch {
  const char* name;
  const wchar_t* commandLine;
  bool planted;  // a marker program waits in the folder as regedit.exe
};

void PrintTo(const Launch& param, std::ostream* out) { *out << param.name; }

// With the system's editor moved aside the launch fails, and the tool says so
// in the launch error box. Nor does it fall back on a regedit.exe in its
// folder: under Wine a bare "regedit.exe" finds the system's editor before
// the current folder, so only without it would such a search reach a plant.
class EditorMissing : public EditorCase<TolvuCaseWithParam<Launch>> {
 protected:
  void SetUp() override {
    EditorCase<TolvuCaseWithParam<Launch>>::SetUp();
    ASSERT_NE(MoveFileW(EditorPath().c_str(), EditorAsidePath().c_str()), 0)
        << "cannot move the registry editor aside, error " << GetLastError();
  }
  void TearDown() override {
    RestoreEditor();
    EXPECT_TRUE(Exists(EditorPath())) << "the registry editor is not back";
    EditorCase<TolvuCaseWithParam<Launch>>::TearDown();
  }
};

TEST_P(EditorMissing, ShowsTheLaunchErrorAndStartsNothing) {
  WriteImportFile(L"settings.reg");
  if (GetParam().planted) {
    PlantEditor();
  }

  const RunResult result = RunWithEditor(GetParam().commandLine);

  EXPECT_EQ(
      result.boxes,
      (std::vector<Box>{{L"Error", L"File not found", BoxIcon::Exclamation}}));
  // The launch's "file not found", as a Win32 status.
  EXPECT_EQ(result.exitCode, kExitFileNotFound);
  EXPECT_EQ(result.processesStarted, 0U);
  EXPECT_FALSE(PlantRan());
  EXPECT_EQ(KeyTree(HKEY_CURRENT_USER, CaseKey()), std::vector<std::wstring>{});
}

INSTANTIATE_TEST_SUITE_P(
    RegFiles, EditorMissing,
    ::testing::Values(
        Launch{"Import", L"import settings.reg", false},
        Launch{"Export", L"export {key} out.reg", false},
        Launch{"ImportWithAPlantInTheFolder", L"import settings.reg", true},
        Launch{"ExportWithAPlantInTheFolder", L"export {key} out.reg", true}),
    ParamName<Launch>);

}  // namespace
}  // namespace tolvu_e2e
