// tolvu_run.exe: starts the tolvu.exe beside it with exactly the command line
// it is given, for running the tool by hand where the command line would
// otherwise be re-quoted on the way (Wine builds a Windows command line from
// Unix arguments with its own quoting).
//
//   tolvu_run.exe [--answer] "COMMAND LINE"
//
// Without --answer the boxes wait for the user. With --answer (for a display
// nobody looks at) each box is read, written to standard output and answered
// with OK. Either way the program ends with tolvu.exe's exit status, which it
// also reports in full on standard error (a Unix shell keeps only 8 bits).
#include <iostream>
#include <string>

#include "run_program.h"

#include <windows.h>

namespace {

// Line breaks as a terminal wants them.
std::string ForTerminal(const std::wstring& text) {
  std::wstring lines;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
      continue;
    }
    lines += text[i];
  }
  return tolvu_e2e::Utf8(lines);
}

const char* IconWord(tolvu_e2e::BoxIcon icon) {
  switch (icon) {
    case tolvu_e2e::BoxIcon::None:
      return "no icon";
    case tolvu_e2e::BoxIcon::Information:
      return "information icon";
    case tolvu_e2e::BoxIcon::Exclamation:
      return "exclamation icon";
    case tolvu_e2e::BoxIcon::Unrecognised:
      return "unrecognised icon";
  }
  return "";
}

// Starts the tool and waits for it, leaving its boxes to the user.
DWORD RunAndWait(const std::wstring& exePath, const std::wstring& tail) {
  std::wstring commandLine = tolvu_e2e::ProgramCommandLine(exePath, tail);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr,
                     FALSE, 0, nullptr, nullptr, &startup, &process) == 0) {
    const DWORD error = GetLastError();
    std::cerr << "tolvu_run: cannot start " << tolvu_e2e::Utf8(exePath)
              << " (system error " << error << ")\n";
    return error;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  return exitCode;
}

DWORD RunAndAnswer(const std::wstring& exePath, const std::wstring& tail) {
  std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(
      GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  // No time limit of its own: the caller's decides.
  const tolvu_e2e::RunResult result =
      tolvu_e2e::RunProgram(exePath, tail, folder, INFINITE);
  for (const auto& box : result.boxes) {
    std::cout << "--- message box \"" << tolvu_e2e::Utf8(box.title) << "\", "
              << IconWord(box.icon) << "\n"
              << ForTerminal(box.text) << "\n";
  }
  if (!result.harnessError.empty()) {
    std::cerr << "tolvu_run: " << tolvu_e2e::Utf8(result.harnessError) << "\n";
  }
  return result.exitCode;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {  // NOLINT(readability-identifier-naming)
  const bool answer = argc == 3 && std::wstring(argv[1]) == L"--answer";
  if (argc != 2 && !answer) {
    std::cerr << "usage: tolvu_run.exe [--answer] \"COMMAND LINE\"\n";
    return 2;
  }
  const std::wstring tail = argv[argc - 1];
  const std::wstring exePath = tolvu_e2e::BesideThisProgram(L"tolvu.exe");
  const DWORD status =
      answer ? RunAndAnswer(exePath, tail) : RunAndWait(exePath, tail);
  std::cout.flush();
  std::cerr << "tolvu.exe exit status: " << status << "\n";
  return static_cast<int>(status);
}
