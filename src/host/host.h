// The seam between the tool's logic and the platform. Everything the tool
// takes from Windows goes through a Host passed down explicitly: the Windows
// host makes the real calls, the recording host of the tests keeps an
// in-memory registry and notes every box and launch.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvu {

enum class Icon { None, Information, Exclamation };

// An open registry key as the host hands it out; only ever passed back.
using HostKey = std::uintptr_t;

// A started process as the host hands it out; only ever passed back.
using HostProcess = std::uintptr_t;

// What a shell launch gave: its result code, above 32 when the program was
// started, and the started process, 0 when there is none to wait for.
struct Launched {
  std::int32_t code = 0;
  HostProcess process = 0;
};

// A wait without a time limit.
constexpr std::chrono::milliseconds kWaitForever =
    std::chrono::milliseconds::max();

class Host {
 public:
  Host() = default;
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  Host(Host&&) = delete;
  Host& operator=(Host&&) = delete;
  virtual ~Host() = default;

  // The command-line text after the program's own name, possibly empty.
  virtual std::u16string CommandText() = 0;

  // A modal box with one OK button; returns once it is dismissed.
  virtual void ShowMessageBox(const std::u16string& text, Icon icon,
                              const std::u16string& title) = 0;

  // Looks up a file or folder. Returns 0 and sets *attributes to its
  // FILE_ATTRIBUTE_* bits when there is one of that name; otherwise returns
  // the lookup's Win32 error (2 when the name is missing, 3 when a folder
  // on its path is, or whatever else the lookup met, such as a network path
  // that cannot be reached) and leaves *attributes unchanged. A name with a
  // trailing backslash names a folder.
  virtual std::uint32_t FileAttributes(const std::u16string& name,
                                       std::uint32_t* attributes) = 0;
  // Deletes the file. Returns 0 when it is gone, otherwise the Win32 error,
  // and then the file is as it was.
  virtual std::uint32_t RemoveFile(const std::u16string& name) = 0;
  // Renames the file `from` to `to` without replacing anything: when `to`
  // exists the call fails with 183 (ERROR_ALREADY_EXISTS) or 80
  // (ERROR_FILE_EXISTS). Returns 0 when renamed, otherwise the Win32 error,
  // and then both names are as they were.
  virtual std::uint32_t RenameFile(const std::u16string& from,
                                   const std::u16string& to) = 0;

  // Whether a user can see this process's boxes: false on a window station
  // that is not visible (services, deployment agents), where a box shown
  // would never be answered. True when that cannot be told.
  virtual bool WindowStationVisible() = 0;

  // The text in the system's ANSI code page, or nothing when a character
  // has no exact representation there (no best-fit substitutes).
  virtual std::optional<std::string> ToAnsi(const std::u16string& text) = 0;

  // Where the system registry editor lives, without a trailing backslash.
  virtual std::u16string WindowsDirectory() = 0;

  // Registry calls, named and shaped after the advapi32 functions they wrap.
  // Roots are the 32-bit predefined key values; statuses are Win32 codes.
  virtual std::int32_t RegCreateKeyA(std::uint32_t root,
                                     const std::string& subKey,
                                     HostKey* key) = 0;
  virtual std::int32_t RegOpenKeyA(std::uint32_t root,
                                   const std::string& subKey, HostKey* key) = 0;
  virtual std::int32_t RegSetValueExA(
      HostKey key, const std::string& name, std::uint32_t type,
      const std::vector<std::uint8_t>& data) = 0;
  virtual std::int32_t RegDeleteKeyA(std::uint32_t root,
                                     const std::string& subKey) = 0;
  virtual std::int32_t RegDeleteValueA(HostKey key,
                                       const std::string& name) = 0;
  virtual std::int32_t RegCloseKey(HostKey key) = 0;

  // ShellExecuteExA(no owner, "open", file, parameters, no directory, show)
  // without any box of the shell's own. Returns the result code, above 32
  // when the program was started and one of ShellExecute's SE_ERR_* codes
  // (32 or less) when not, and the started process, or 0 when there is none
  // to wait for (always 0 when not started). A process handed out is the
  // caller's: it ends with CloseProcess, whether or not the process has.
  virtual Launched ShellExecuteExA(const std::string& file,
                                   const std::string& parameters,
                                   int showMode) = 0;
  // Waits up to `timeout` (kWaitForever: as long as it takes) for the
  // process to end. Returns true when it has ended, false when it still runs
  // after the time. A wait that cannot be made returns true at once, so that
  // no caller waits on a process it cannot watch.
  virtual bool WaitForProcess(HostProcess process,
                              std::chrono::milliseconds timeout) = 0;
  // Lets go of the process handle; the process itself runs on if it has not
  // ended.
  virtual void CloseProcess(HostProcess process) = 0;
};

}  // namespace tolvu
