#include "run_program.h"

#include <iomanip>
#include <string>
#include <vector>

#include "icon_match.h"

namespace tolvu_e2e {
namespace {

// Windows and Wine both give the text of a message box this control id.
constexpr int kBoxTextControlId = 0xFFFF;
constexpr DWORD kMessageTimeoutMs = 2000;
// How long a box may take to get its icon on the screen.
constexpr DWORD kIconSettleMs = 3000;
// How long a box may take to go away after OK was pressed.
constexpr DWORD kBoxCloseMs = 5000;

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                          kMessageTimeoutMs, &length) == 0) {
    return L"";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXT, text.size(),
                          reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied) == 0) {
    return L"";
  }
  text.resize(copied);
  return text;
}

struct BoxSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindBoxOfProcess(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || (IsWindowVisible(window) == 0)) {
    return TRUE;
  }
  std::wstring className(16, L'\0');
  className.resize(static_cast<size_t>(GetClassNameW(
      window, className.data(), static_cast<int>(className.size()))));
  if (className != L"#32770") {
    return TRUE;
  }
  // A box is ready to be read once its text control exists.
  if (GetDlgItem(window, kBoxTextControlId) == nullptr) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND VisibleBoxOf(DWORD processId) {
  BoxSearch search{processId, nullptr};
  EnumWindows(FindBoxOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Presses OK and waits for the box to go; false when it stays.
bool Dismiss(HWND box, HANDLE process) {
  HWND ok = GetDlgItem(box, IDOK);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(ok));
  const ULONGLONG deadline = GetTickCount64() + kBoxCloseMs;
  while ((IsWindow(box) != 0) && (IsWindowVisible(box) != 0)) {
    if (WaitForSingleObject(process, 10) == WAIT_OBJECT_0) {
      return true;
    }
    if (GetTickCount64() >= deadline) {
      return false;
    }
  }
  return true;
}

// How many processes were ever in the job, and how many are running now.
bool CountJobProcesses(HANDLE job, DWORD* total, DWORD* active) {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
  if (QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info,
                                sizeof(info), nullptr) == 0) {
    return false;
  }
  *total = info.TotalProcesses;
  *active = info.ActiveProcesses;
  return true;
}

// Waits up to `waitMs` for the job to empty, then tells how many processes
// besides the first one it held, and whether some still run.
void ReadStartedProcesses(HANDLE job, DWORD waitMs, RunResult* result) {
  DWORD total = 0;
  DWORD active = 0;
  const ULONGLONG deadline = GetTickCount64() + waitMs;
  while (CountJobProcesses(job, &total, &active) && active > 0 &&
         GetTickCount64() < deadline) {
    Sleep(20);
  }
  if (!CountJobProcesses(job, &total, &active) || total == 0) {
    return;
  }
  result->processesStarted = total - 1;
  result->startedStillRunning = active > 0;
}

// A new empty file for a child's output, inheritable, deleted on close.
struct OutputFile {
  std::wstring path;
  HANDLE handle = INVALID_HANDLE_VALUE;
};

OutputFile CreateOutputFile() {
  OutputFile file;
  std::wstring folder(MAX_PATH + 1, L'\0');
  folder.resize(GetTempPathW(static_cast<DWORD>(folder.size()), folder.data()));
  std::wstring name(MAX_PATH + 1, L'\0');
  if (GetTempFileNameW(folder.c_str(), L"tlv", 0, name.data()) == 0) {
    return file;
  }
  name.resize(wcslen(name.c_str()));
  file.path = name;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  file.handle = CreateFileW(file.path.c_str(), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  return file;
}

// The file's bytes; the file is gone afterwards.
std::string TakeOutput(OutputFile& file) {
  if (file.handle != INVALID_HANDLE_VALUE) {
    CloseHandle(file.handle);
    file.handle = INVALID_HANDLE_VALUE;
  }
  std::string bytes;
  HANDLE in = CreateFileW(file.path.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  if (in != INVALID_HANDLE_VALUE) {
    std::vector<char> buffer(4096);
    DWORD count = 0;
    while (ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()),
                    &count, nullptr) != 0 &&
           count > 0) {
      bytes.append(buffer.data(), count);
    }
    CloseHandle(in);
  }
  DeleteFileW(file.path.c_str());
  return bytes;
}

// CreateProcessW of a suspended process. Wine now and then fails a start
// with ERROR_INTERNAL_ERROR (about one in a few thousand here); the same start
// then succeeds.
BOOL StartSuspended(const std::wstring& exePath, std::wstring commandLine,
                    const std::wstring& workDir, BOOL inheritHandles,
                    STARTUPINFOW startup, PROCESS_INFORMATION* process) {
  BOOL started = FALSE;
  for (int attempt = 0; attempt < 3 && started == FALSE; ++attempt) {
    started = CreateProcessW(exePath.c_str(), commandLine.data(), nullptr,
                             nullptr, inheritHandles, CREATE_SUSPENDED, nullptr,
                             workDir.c_str(), &startup, process);
    if (started == FALSE && GetLastError() != ERROR_INTERNAL_ERROR) {
      break;
    }
  }
  return started;
}

std::wstring SystemMessage(DWORD error) {
  return L"system error " + std::to_wstring(error);
}

const char* IconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::None:
      return "none";
    case BoxIcon::Information:
      return "information";
    case BoxIcon::Exclamation:
      return "exclamation";
    case BoxIcon::Unrecognised:
      return "unrecognised";
  }
  return "?";
}

// Texts in test output: printable ASCII as is, everything else escaped, so
// that CR LF and blanks at line ends are visible in a failure message.
void PrintText(const std::wstring& text, std::ostream* out) {
  *out << '"';
  for (wchar_t c : text) {
    if (c == L'\r') {
      *out << "\\r";
    } else if (c == L'\n') {
      *out << "\\n\n    ";
    } else if (c == L'\t') {
      *out << "\\t";
    } else if (c == L'"' || c == L'\\') {
      *out << '\\' << static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      *out << static_cast<char>(c);
    } else {
      *out << "\\u" << std::hex << std::setw(4) << std::setfill('0')
           << static_cast<unsigned>(c) << std::dec;
    }
  }
  *out << '"';
}

}  // namespace

bool operator==(const Box& a, const Box& b) {
  return a.title == b.title && a.text == b.text && a.icon == b.icon;
}

void PrintTo(BoxIcon icon, std::ostream* out) { *out << IconName(icon); }

void PrintTo(const Box& box, std::ostream* out) {
  *out << "\n  box: title ";
  PrintText(box.title, out);
  *out << ", icon " << IconName(box.icon) << ", text ";
  PrintText(box.text, out);
}

void PrintTo(const RunResult& result, std::ostream* out) {
  *out << "exit code " << result.exitCode
       << (result.timedOut ? " (killed after the time limit)" : "") << ", "
       << result.boxes.size() << " box(es)";
  if (result.processesStarted) {
    *out << ", " << *result.processesStarted << " process(es) started"
         << (result.startedStillRunning ? " (some still running)" : "");
  }
  for (const auto& box : result.boxes) {
    PrintTo(box, out);
  }
  if (!result.harnessError.empty()) {
    *out << "\n  harness error: ";
    PrintText(result.harnessError, out);
  }
}

std::wstring ProgramCommandLine(const std::wstring& exePath,
                                const std::wstring& tail) {
  std::wstring commandLine = L"\"" + exePath + L"\"";
  if (!tail.empty()) {
    commandLine += L" " + tail;
  }
  return commandLine;
}

RunResult RunProcess(const std::wstring& exePath, const StartOptions& options,
                     const std::wstring& workDir) {
  RunResult result;
  std::wstring desktop = options.desktop;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!desktop.empty()) {
    startup.lpDesktop = desktop.data();
  }
  OutputFile output;
  OutputFile error;
  if (options.captureOutput) {
    output = CreateOutputFile();
    error = CreateOutputFile();
    if (output.handle == INVALID_HANDLE_VALUE ||
        error.handle == INVALID_HANDLE_VALUE) {
      result.harnessError = L"cannot create the output files";
      result.exitCode = static_cast<DWORD>(-1);
      TakeOutput(output);
      TakeOutput(error);
      return result;
    }
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output.handle;
    startup.hStdError = error.handle;
  }
  PROCESS_INFORMATION process{};
  const BOOL started =
      StartSuspended(exePath, options.commandLine, workDir,
                     options.captureOutput ? TRUE : FALSE, startup, &process);
  if (started == 0) {
    result.harnessError =
        L"cannot start " + exePath + L": " + SystemMessage(GetLastError());
    result.exitCode = static_cast<DWORD>(-1);
    if (options.captureOutput) {
      TakeOutput(output);
      TakeOutput(error);
    }
    return result;
  }
  // The job takes the program before it runs, and with it every process it
  // starts, also those it does not wait for.
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job != nullptr && AssignProcessToJobObject(job, process.hProcess) == 0) {
    CloseHandle(job);
    job = nullptr;
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);

  const ULONGLONG deadline = GetTickCount64() + options.timeoutMs;
  for (;;) {
    if (GetTickCount64() >= deadline) {
      result.timedOut = true;
      TerminateProcess(process.hProcess, 1);
      break;
    }
    // Boxes first: a program that shows a box never ends before it is
    // answered, and one that ended has no box left to read.
    if (HWND box = VisibleBoxOf(process.dwProcessId)) {
      Box seen;
      seen.title = TextOf(box);
      seen.text = TextOf(GetDlgItem(box, kBoxTextControlId));
      seen.icon = ReadBoxIcon(box, kIconSettleMs);
      result.boxes.push_back(seen);
      if (!Dismiss(box, process.hProcess)) {
        result.harnessError = L"a box would not close after OK";
        TerminateProcess(process.hProcess, 1);
        break;
      }
      continue;
    }
    if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) {
      break;
    }
  }
  WaitForSingleObject(process.hProcess, kMessageTimeoutMs);
  GetExitCodeProcess(process.hProcess, &result.exitCode);
  CloseHandle(process.hProcess);
  if (job != nullptr) {
    ReadStartedProcesses(job, options.startedWaitMs, &result);
    CloseHandle(job);
  }
  if (options.captureOutput) {
    result.standardOutput = TakeOutput(output);
    result.standardError = TakeOutput(error);
  }
  return result;
}

RunResult RunProgram(const std::wstring& exePath,
                     const std::wstring& commandLineAfterProgramName,
                     const std::wstring& workDir, DWORD timeoutMs,
                     DWORD startedWaitMs) {
  StartOptions options;
  options.commandLine =
      ProgramCommandLine(exePath, commandLineAfterProgramName);
  options.timeoutMs = timeoutMs;
  options.startedWaitMs = startedWaitMs;
  return RunProcess(exePath, options, workDir);
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) {
    return {};
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(),
                                       static_cast<int>(text.size()), nullptr,
                                       0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                      bytes.data(), size, nullptr, nullptr);
  return bytes;
}

std::wstring BesideThisProgram(const std::wstring& fileName) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(),
                                            static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1) + fileName;
}

RunResult RunTolvu(const std::wstring& commandLineAfterProgramName,
                   const std::wstring& workDir) {
  return RunProgram(BesideThisProgram(L"tolvu.exe"),
                    commandLineAfterProgramName, workDir);
}

}  // namespace tolvu_e2e
