// The seam between the tool's logic and the platform. Everything the tool
// takes from Windows goes through a Host passed down explicitly: the Windows
// host makes the real calls, the recording host of the tests keeps an
// in-memory registry and notes every box and launch.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvu {

enum class Icon { None, Information, Exclamation };

// An open registry key as the host hands it out; only ever passed back.
using HostKey = std::uintptr_t;

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

  // The FILE_ATTRIBUTE_* bits of a file or folder, or nothing when there
  // is none of that name.
  virtual std::optional<std::uint32_t> FileAttributes(
      const std::u16string& name) = 0;
  // 0 when deleted, otherwise the system error code.
  virtual std::uint32_t RemoveFile(const std::u16string& name) = 0;

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

  // ShellExecuteA(no owner, "open", file, parameters, no directory, show):
  // the result code, above 32 when the program was started.
  virtual std::int32_t ShellExecuteA(const std::string& file,
                                     const std::string& parameters,
                                     int showMode) = 0;
};

}  // namespace tolvu
