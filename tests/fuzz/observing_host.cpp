#include "observing_host.h"

namespace tolvu {

std::int32_t ObservingHost::Note(std::int32_t status) {
  ++registryCalls;
  if (status != 0) {
    ++registryFailures;
    lastRegistryFailure = status;
  }
  return status;
}

std::u16string ObservingHost::CommandText() { return inner_.CommandText(); }

void ObservingHost::ShowMessageBox(const std::u16string& text, Icon icon,
                                   const std::u16string& title) {
  inner_.ShowMessageBox(text, icon, title);
}

std::optional<std::uint32_t> ObservingHost::FileAttributes(
    const std::u16string& name) {
  return inner_.FileAttributes(name);
}

std::uint32_t ObservingHost::RemoveFile(const std::u16string& name) {
  return inner_.RemoveFile(name);
}

std::optional<std::string> ObservingHost::ToAnsi(const std::u16string& text) {
  return inner_.ToAnsi(text);
}

std::u16string ObservingHost::WindowsDirectory() {
  return inner_.WindowsDirectory();
}

std::int32_t ObservingHost::RegCreateKeyA(std::uint32_t root,
                                          const std::string& subKey,
                                          HostKey* key) {
  return Note(inner_.RegCreateKeyA(root, subKey, key));
}

std::int32_t ObservingHost::RegOpenKeyA(std::uint32_t root,
                                        const std::string& subKey,
                                        HostKey* key) {
  return Note(inner_.RegOpenKeyA(root, subKey, key));
}

std::int32_t ObservingHost::RegSetValueExA(
    HostKey key, const std::string& name, std::uint32_t type,
    const std::vector<std::uint8_t>& data) {
  writes.push_back(TestValue{name, type, data});
  return Note(inner_.RegSetValueExA(key, name, type, data));
}

std::int32_t ObservingHost::RegDeleteKeyA(std::uint32_t root,
                                          const std::string& subKey) {
  ++registryDeletions;
  return Note(inner_.RegDeleteKeyA(root, subKey));
}

std::int32_t ObservingHost::RegDeleteValueA(HostKey key,
                                            const std::string& name) {
  ++registryDeletions;
  return Note(inner_.RegDeleteValueA(key, name));
}

// The tool does not examine the status of a close.
std::int32_t ObservingHost::RegCloseKey(HostKey key) {
  ++registryCalls;
  return inner_.RegCloseKey(key);
}

std::int32_t ObservingHost::ShellExecuteA(const std::string& file,
                                          const std::string& parameters,
                                          int showMode) {
  return inner_.ShellExecuteA(file, parameters, showMode);
}

}  // namespace tolvu
