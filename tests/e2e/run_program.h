// Runs a program with an exact command line, answers every message box it
// shows and reports what the boxes said and how the program ended.
#pragma once

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tolvu_e2e {

enum class BoxIcon { None, Information, Exclamation, Unrecognised };

struct Box {
  std::wstring title;
  std::wstring text;
  BoxIcon icon = BoxIcon::None;
};

bool operator==(const Box& a, const Box& b);
void PrintTo(BoxIcon icon, std::ostream* out);
void PrintTo(const Box& box, std::ostream* out);

struct RunResult {
  std::vector<Box> boxes;  // in the order the program showed them
  DWORD exitCode = 0;
  bool timedOut = false;  // killed after the time limit
  // How many other processes the program started, directly or through its
  // children (the registry editor, for import and export); nothing when the
  // program could not be watched for them.
  std::optional<DWORD> processesStarted;
  // Some of them were still running when the run stopped waiting for them.
  bool startedStillRunning = false;
  // What went wrong in the harness itself (could not start the program, a
  // box that would not close); empty when all went well.
  std::wstring harnessError;
  // The program's standard output and error, when they were captured.
  std::string standardOutput;
  std::string standardError;
};

void PrintTo(const RunResult& result, std::ostream* out);

// Long enough for a loaded machine under Wine, short enough that a hang fails
// the case instead of stalling the suite.
constexpr DWORD kDefaultRunTimeoutMs = 30000;

// Starts `exePath` with the command line `"exePath"
// commandLineAfterProgramName` (no blank added when the tail is empty) in
// `workDir`, reads and dismisses each message box it shows, and waits for it to
// end; kills it after `timeoutMs`. Then waits up to `startedWaitMs` for the
// processes it started to end as well.
RunResult RunProgram(const std::wstring& exePath,
                     const std::wstring& commandLineAfterProgramName,
                     const std::wstring& workDir,
                     DWORD timeoutMs = kDefaultRunTimeoutMs,
                     DWORD startedWaitMs = 0);

// How to start a program beyond its path and folder.
struct StartOptions {
  // The whole command line, the program's name as typed included.
  std::wstring commandLine;
  // "Station\\Desktop" to run there; empty for the driver's own desktop.
  // Boxes on another window station cannot be read or answered from here.
  std::wstring desktop;
  // Standard output and error go to files read into the result.
  bool captureOutput = false;
  DWORD timeoutMs = kDefaultRunTimeoutMs;
  DWORD startedWaitMs = 0;
};

// Starts `exePath` (the real file, whatever the command line names) in
// `workDir` as RunProgram does, with the given options.
RunResult RunProcess(const std::wstring& exePath, const StartOptions& options,
                     const std::wstring& workDir);

// `"exePath" tail`, or the quoted path alone when the tail is empty.
std::wstring ProgramCommandLine(const std::wstring& exePath,
                                const std::wstring& tail);

// The UTF-8 bytes of text, as programs write it to their standard output.
std::string Utf8(const std::wstring& text);

// The full path of `fileName` in the folder of the running program.
std::wstring BesideThisProgram(const std::wstring& fileName);

// RunProgram for the tolvu.exe next to the driver.
RunResult RunTolvu(const std::wstring& commandLineAfterProgramName,
                   const std::wstring& workDir);

}  // namespace tolvu_e2e
