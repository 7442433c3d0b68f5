// A stand-in for the tool in the harness's own tests: it records its command
// line, shows the boxes its arguments ask for and exits with the given code.
//
//   box_probe.exe [information|exclamation|none|error|question TITLE TEXT]...
//                 [sleep MILLISECONDS] [spawn MILLISECONDS] [exit CODE]
//
// spawn starts another box_probe that sleeps that long, and does not wait for
// it.
// A backslash followed by n in TEXT stands for a line break (CR LF). The whole
// command line is written, as UTF-16LE, to cmdline.txt in the working folder
// first.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

void RecordCommandLine() {
  const wchar_t* line = GetCommandLineW();
  HANDLE file = CreateFileW(L"cmdline.txt", GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return;
  }
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(wcslen(line) * sizeof(wchar_t)),
            &written, nullptr);
  CloseHandle(file);
}

std::wstring WithLineBreaks(const wchar_t* text) {
  std::wstring result;
  for (; *text != L'\0'; ++text) {
    if (text[0] == L'\\' && text[1] == L'n') {
      result += L"\r\n";
      ++text;
    } else {
      result += *text;
    }
  }
  return result;
}

void SpawnSleeper(const wchar_t* milliseconds) {
  std::wstring self(MAX_PATH, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
  std::wstring commandLine = L"\"" + self;
  commandLine.append(L"\" sleep ").append(milliseconds);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                     0, nullptr, nullptr, &startup, &process) != 0) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

UINT IconStyle(const std::wstring& word) {
  if (word == L"information") {
    return MB_ICONINFORMATION;
  }
  if (word == L"exclamation") {
    return MB_ICONEXCLAMATION;
  }
  if (word == L"error") {
    return MB_ICONERROR;
  }
  if (word == L"question") {
    return MB_ICONQUESTION;
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/,
                    PWSTR /*commandLine*/, int /*show*/) {
  RecordCommandLine();
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  int exitCode = 0;
  for (int i = 1; args != nullptr && i < count; ++i) {
    const std::wstring word = args[i];
    if ((word == L"information" || word == L"exclamation" || word == L"none" ||
         word == L"error" || word == L"question") &&
        i + 2 < count) {
      MessageBoxW(nullptr, WithLineBreaks(args[i + 2]).c_str(), args[i + 1],
                  MB_OK | IconStyle(word));
      i += 2;
    } else if (word == L"sleep" && i + 1 < count) {
      Sleep(static_cast<DWORD>(_wtoi(args[++i])));
    } else if (word == L"spawn" && i + 1 < count) {
      SpawnSleeper(args[++i]);
    } else if (word == L"exit" && i + 1 < count) {
      exitCode = _wtoi(args[++i]);
    }
  }
  LocalFree(args);
  return exitCode;
}
