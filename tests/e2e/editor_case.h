// Cases around the system's registry editor: running the tool and waiting
// for what it started, files the editor reads and writes, and keys on both
// roots.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "case_fixture.h"
#include "registry_probe.h"
#include "run_program.h"
#include "work_files.h"

namespace tolvu_e2e {

// Ample for the editor to import or export a handful of values under Wine;
// a case fails rather than hangs when it does not finish.
constexpr DWORD kEditorWaitMs = 20000;

// The registry editor's file name, in the Windows folder or planted in a
// working one.
constexpr const wchar_t* kEditorName = L"regedit.exe";

// The system's registry editor, and where a case puts it to make it
// unavailable.
std::wstring EditorPath();
std::wstring EditorAsidePath();

bool Exists(const std::wstring& path);

// Puts the editor back if a case moved it aside and could not return it
// (an interrupted run): every later run in the prefix needs it. A folder or
// stand-in a case left in its place goes first.
void RestoreEditor();

enum class InItsPlace { Nothing, Folder, StandIn };

// Moves the editor aside for as long as it lives, with nothing, a folder or
// a stand-in (stand_in.exe) in its place; puts it back however the
// case ends.
class EditorAside {
 public:
  explicit EditorAside(InItsPlace replacement = InItsPlace::Nothing);
  EditorAside(const EditorAside&) = delete;
  EditorAside& operator=(const EditorAside&) = delete;
  EditorAside(EditorAside&&) = delete;
  EditorAside& operator=(EditorAside&&) = delete;
  ~EditorAside();

  // What went wrong moving it; empty when it is aside as asked.
  const std::wstring& Error() const { return error_; }

 private:
  std::wstring error_;
};

// A registry file as the editor writes and reads it: UTF-16LE with its byte
// order mark, the version line, a blank line, then `body`.
std::vector<std::uint8_t> RegFileBytes(const std::wstring& body);

// The text of a UTF-16LE file with a byte order mark; nothing otherwise.
std::optional<std::wstring> ReadUtf16File(const std::wstring& path);

// Every file of a folder with its bytes, to show that nothing changed.
std::map<std::wstring, std::vector<std::uint8_t>> FolderContents(
    const std::wstring& folder);

// A run that started the editor, which then ended within the bound.
void ExpectEditorRan(const RunResult& result);

// Cases around the editor: they run the tool and wait for what it started,
// and may leave read-only files that the folder's removal needs writable
// again.
template <typename Base>
class EditorCase : public Base {
 protected:
  void SetUp() override {
    RestoreEditor();
    Base::SetUp();
  }

  void TearDown() override {
    for (const auto& name : FolderEntries(this->WorkDir())) {
      SetFileAttributesW(InWork(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
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

  // The stand-in as regedit.exe in the working folder: run, it leaves
  // cmdline.txt there.
  void PlantEditor() const {
    ASSERT_NE(CopyFileW(BesideThisProgram(L"stand_in.exe").c_str(),
                        InWork(kEditorName).c_str(), TRUE),
              0);
  }

  bool PlantRan() const { return Exists(InWork(L"cmdline.txt")); }

  // The case key with one value, and two subkeys whose names differ only
  // after a blank: a key path cut at its blank exports the wrong one.
  void PlantExportKeys(HKEY root) const {
    const std::wstring key = this->CaseKey();
    ASSERT_TRUE(WriteValue(root, key, L"Name", Sz(L"Value")));
    ASSERT_TRUE(WriteValue(root, key + L"\\My", L"Which", Sz(L"cut short")));
    ASSERT_TRUE(WriteValue(root, key + L"\\My Key", L"Which", Sz(L"whole")));
  }
};

}  // namespace tolvu_e2e
