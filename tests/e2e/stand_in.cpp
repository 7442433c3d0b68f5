// stand_in.exe: a program the cases run in the place of another, that does
// what its words say. It stands in for the tool in the harness's own tests,
// and for the registry editor, planted as regedit.exe in a working folder
// (where it must never run) or put in the system editor's place.
//
//   stand_in.exe [information|exclamation|none|error|question TITLE TEXT]...
//                [sleep MILLISECONDS] [spawn MILLISECONDS] [write|empty]
//                [hold MILLISECONDS] [exit CODE]
//
// It first writes its whole command line, as UTF-16LE, to cmdline.txt in its
// working folder: that file shows that it ran. The words in the environment
// variable TOLVU_E2E_EDITOR follow its own, so that as the editor it can be
// told what to do. A box word shows a box (a backslash followed by n in TEXT
// stands for CR LF); spawn starts another stand-in that sleeps that long,
// without waiting for it; write writes the file an export names (/e FILE
// KEY) as the editor does, a whole export of KEY whose one line after the
// key's is "; stand-in export", and empty makes it empty; hold
// keeps that file open, as a virus scanner does, for that long after this
// program ends (a stand-in started to sleep inherits the handle). Other
// words are passed over.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "work_files.h"

namespace {

bool WriteBytes(const wchar_t* path, const void* bytes, std::size_t size) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
  return true;
}

// The words of a command line, the program's name left out.
std::vector<std::wstring> Words(const std::wstring& commandLine) {
  std::vector<std::wstring> words;
  int count = 0;
  wchar_t** args = CommandLineToArgvW(commandLine.c_str(), &count);
  for (int i = 1; args != nullptr && i < count; ++i) {
    words.emplace_back(args[i]);
  }
  LocalFree(args);
  return words;
}

std::wstring WithLineBreaks(const std::wstring& text) {
  std::wstring result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'n') {
      result += L"\r\n";
      ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

// A stand-in that sleeps that long, inheriting this one's inheritable
// handles when asked to.
void SpawnSleeper(const std::wstring& milliseconds, bool inheritHandles) {
  std::wstring self(MAX_PATH, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
  std::wstring commandLine = L"\"" + self + L"\" sleep " + milliseconds;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr,
                     inheritHandles ? TRUE : FALSE, 0, nullptr, nullptr,
                     &startup, &process) != 0) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

// Opens the file for reading, sharing nothing but reading, so that it
// cannot be written, renamed or deleted while a sleeper keeps the handle.
void HoldFile(const std::wstring& path, const std::wstring& milliseconds) {
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherited,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    SpawnSleeper(milliseconds, true);
    CloseHandle(file);
  }
}

// The icon style of a box word; false for any other word.
bool BoxStyle(const std::wstring& word, UINT* style) {
  const struct {
    const wchar_t* word;
    UINT style;
  } kStyles[] = {{L"information", MB_ICONINFORMATION},
                 {L"exclamation", MB_ICONEXCLAMATION},
                 {L"none", 0},
                 {L"error", MB_ICONERROR},
                 {L"question", MB_ICONQUESTION}};
  const auto* found =
      std::find_if(std::begin(kStyles), std::end(kStyles),
                   [&](const auto& entry) { return word == entry.word; });
  if (found == std::end(kStyles)) {
    return false;
  }
  *style = found->style;
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/,
                    PWSTR /*commandLine*/, int /*show*/) {
  const wchar_t* line = GetCommandLineW();
  WriteBytes(L"cmdline.txt", line, wcslen(line) * sizeof(wchar_t));
  std::vector<std::wstring> words = Words(line);
  std::wstring script(1024, L'\0');
  script.resize(GetEnvironmentVariableW(L"TOLVU_E2E_EDITOR", script.data(),
                                        static_cast<DWORD>(script.size())));
  for (const std::wstring& word : Words(L"stand_in " + script)) {
    words.push_back(word);
  }
  int exitCode = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::wstring& word = words[i];
    const bool hasNext = i + 1 < words.size();
    UINT style = 0;
    if (BoxStyle(word, &style) && i + 2 < words.size()) {
      MessageBoxW(nullptr, WithLineBreaks(words[i + 2]).c_str(),
                  words[i + 1].c_str(), MB_OK | style);
      i += 2;
    } else if (word == L"sleep" && hasNext) {
      Sleep(static_cast<DWORD>(_wtoi(words[++i].c_str())));
    } else if (word == L"spawn" && hasNext) {
      SpawnSleeper(words[++i], false);
    } else if (word == L"exit" && hasNext) {
      exitCode = _wtoi(words[++i].c_str());
    } else if ((word == L"write" || word == L"empty") && words.size() >= 3 &&
               words[0] == L"/e") {
      // UTF-16LE with its byte-order mark, as the editor writes an export
      // of the key it is given.
      const std::vector<std::uint8_t> bytes =
          word == L"write"
              ? tolvu_e2e::Utf16Bytes(
                    L"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n[" +
                    words[2] + L"]\r\n; stand-in export\r\n")
              : std::vector<std::uint8_t>();
      WriteBytes(words[1].c_str(), bytes.data(), bytes.size());
    } else if (word == L"hold" && hasNext && words.size() >= 2 &&
               words[0] == L"/e") {
      HoldFile(words[1], words[++i]);
    }
  }
  return exitCode;
}
