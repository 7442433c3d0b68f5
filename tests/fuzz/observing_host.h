// A host that passes every call on to the recording host and notes what the
// fuzzer's checks need beyond its record: each value write as the tool
// made it, each deletion in the registry, and the statuses of the registry
// calls whose failure the tool reports through its exit status.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/recording_host.h"

namespace tolvu {

class ObservingHost final : public Host {
 public:
  explicit ObservingHost(RecordingHost& inner) : inner_(inner) {}
  ObservingHost(const ObservingHost&) = delete;
  ObservingHost& operator=(const ObservingHost&) = delete;
  ObservingHost(ObservingHost&&) = delete;
  ObservingHost& operator=(ObservingHost&&) = delete;
  ~ObservingHost() override = default;

  std::vector<TestValue> writes;  // every RegSetValueExA, in order
  int registryDeletions = 0;      // RegDeleteKeyA and RegDeleteValueA calls
  int registryCalls = 0;          // all registry calls, RegCloseKey included
  int registryFailures = 0;       // failed calls other than RegCloseKey
  std::int32_t lastRegistryFailure = 0;

  std::u16string CommandText() override;
  void ShowMessageBox(const std::u16string& text, Icon icon,
                      const std::u16string& title) override;
  std::optional<std::uint32_t> FileAttributes(
      const std::u16string& name) override;
  std::uint32_t RemoveFile(const std::u16string& name) override;
  std::optional<std::string> ToAnsi(const std::u16string& text) override;
  std::u16string WindowsDirectory() override;
  std::int32_t RegCreateKeyA(std::uint32_t root, const std::string& subKey,
                             HostKey* key) override;
  std::int32_t RegOpenKeyA(std::uint32_t root, const std::string& subKey,
                           HostKey* key) override;
  std::int32_t RegSetValueExA(HostKey key, const std::string& name,
                              std::uint32_t type,
                              const std::vector<std::uint8_t>& data) override;
  std::int32_t RegDeleteKeyA(std::uint32_t root,
                             const std::string& subKey) override;
  std::int32_t RegDeleteValueA(HostKey key, const std::string& name) override;
  std::int32_t RegCloseKey(HostKey key) override;
  std::int32_t ShellExecuteA(const std::string& file,
                             const std::string& parameters,
                             int showMode) override;

 private:
  std::int32_t Note(std::int32_t status);
  RecordingHost& inner_;
};

}  // namespace tolvu
