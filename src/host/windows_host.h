// The host on Windows: the process command line, real message boxes, the
// file system, the code pages, the registry and the shell launch.
//
// ShowMessageBox, where nobody sees boxes (NobodySeesBoxes), shows nothing
// and writes "title: text" and CR LF to standard error as UTF-8, when the
// process has a standard error. Where user32.dll cannot be loaded it shows
// and writes nothing.
#pragma once

#include "host/host.h"

namespace tolvu {

class WindowsHost final : public Host {
 public:
  std::u16string CommandText() override;
  void ShowMessageBox(const std::u16string& text, Icon icon,
                      const std::u16string& title) override;
  std::uint32_t FileAttributes(const std::u16string& name,
                               std::uint32_t* attributes) override;
  std::uint32_t FileSize(const std::u16string& name,
                         std::uint64_t* size) override;
  std::uint32_t CreateNewFile(const std::u16string& name,
                              const std::u16string& like,
                              std::u16string* owner) override;
  std::uint32_t RemoveFile(const std::u16string& name) override;
  std::uint32_t RenameReplacing(const std::u16string& from,
                                const std::u16string& to) override;
  std::uint32_t ReadFileBytes(const std::u16string& name, FileRange range,
                              std::string* bytes) override;
  std::uint32_t FlushFile(const std::u16string& name) override;
  std::uint32_t ProcessId() override;
  void Pause(std::chrono::milliseconds time) override;
  bool WindowStationVisible() override;
  std::optional<std::string> ToAnsi(const std::u16string& text) override;
  std::optional<std::string> ToSystemCodePage(
      const std::u16string& text) override;
  std::u16string FromSystemCodePage(const std::string& bytes) override;
  std::u16string UpperCase(const std::u16string& text) override;
  std::uint32_t FullPathName(const std::u16string& name,
                             std::u16string* fullPath) override;
  std::u16string WindowsDirectory() override;
  std::uint32_t RegCreateKeyA(std::uint32_t root, const std::string& subKey,
                              HostKey* key) override;
  std::uint32_t RegOpenKeyA(std::uint32_t root, const std::string& subKey,
                            HostKey* key) override;
  std::uint32_t RegSetValueExA(HostKey key, const std::string& name,
                               std::uint32_t type,
                               const std::vector<std::uint8_t>& data) override;
  std::uint32_t RegDeleteKeyA(std::uint32_t root,
                              const std::string& subKey) override;
  std::uint32_t RegQueryInfoKeyA(HostKey key, std::uint32_t* subKeys) override;
  std::uint32_t RegDeleteValueA(HostKey key, const std::string& name) override;
  std::uint32_t RegOpenKeyExW(std::uint32_t root, const std::u16string& subKey,
                              HostKey* key) override;
  std::uint32_t RegQueryValueExW(HostKey key, const std::u16string& name,
                                 std::uint32_t* type,
                                 std::vector<std::uint8_t>* data) override;
  std::uint32_t RegCloseKey(HostKey key) override;
  Launched ShellExecuteExA(const std::string& file,
                           const std::string& parameters,
                           int showMode) override;
  bool WaitForProcess(HostProcess process,
                      std::chrono::milliseconds timeout) override;
  bool EndProcess(HostProcess process) override;
  void CloseProcess(HostProcess process) override;

  std::uint32_t SessionId() override;

  std::uint32_t QueryDosDeviceW(const std::u16string& drive,
                                std::u16string* target) override;
  std::uint32_t NetworkPath(const std::u16string& fullPath,
                            std::u16string* networkPath) override;
};

}  // namespace tolvu
