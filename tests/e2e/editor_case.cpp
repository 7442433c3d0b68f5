#include "editor_case.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvu_e2e {

namespace {

std::wstring WindowsFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  folder.resize(GetWindowsDirectoryW(folder.data(), MAX_PATH));
  return folder;
}

}  // namespace

std::wstring EditorPath() { return WindowsFolder() + L"\\" + kEditorName; }

std::wstring EditorAsidePath() { return EditorPath() + L".tolvu-e2e-aside"; }

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RestoreEditor() {
  if (!Exists(EditorAsidePath())) {
    return;
  }
  const DWORD attributes = GetFileAttributesW(EditorPath().c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    RemoveDirectoryW(EditorPath().c_str());
  } else {
    DeleteFileW(EditorPath().c_str());
  }
  if (!Exists(EditorPath())) {
    MoveFileW(EditorAsidePath().c_str(), EditorPath().c_str());
  }
}

EditorAside::EditorAside(InItsPlace replacement) {
  RestoreEditor();
  if (MoveFileW(EditorPath().c_str(), EditorAsidePath().c_str()) == 0) {
    error_ = L"cannot move the registry editor aside, error " +
             std::to_wstring(GetLastError());
    return;
  }
  BOOL placed = TRUE;
  if (replacement == InItsPlace::Folder) {
    placed = CreateDirectoryW(EditorPath().c_str(), nullptr);
  } else if (replacement == InItsPlace::StandIn) {
    placed = CopyFileW(BesideThisProgram(L"stand_in.exe").c_str(),
                       EditorPath().c_str(), TRUE);
  }
  if (placed == 0) {
    error_ = L"cannot put something in the editor's place, error " +
             std::to_wstring(GetLastError());
  }
}

EditorAside::~EditorAside() { RestoreEditor(); }

std::vector<std::uint8_t> RegFileBytes(const std::wstring& body) {
  std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
  const std::vector<std::uint8_t> text =
      Utf16Bytes(L"Windows Registry Editor Version 5.00\r\n\r\n" + body);
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

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

void ExpectEditorRan(const RunResult& result) {
  EXPECT_EQ(result.boxes, std::vector<Box>{});
  EXPECT_EQ(result.exitCode, 0U);
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.processesStarted, 1U) << ::testing::PrintToString(result);
  EXPECT_FALSE(result.startedStillRunning);
}

}  // namespace tolvu_e2e
