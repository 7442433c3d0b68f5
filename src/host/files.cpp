#include "host/files.h"

#include <optional>

namespace tolvu {

bool FileExists(Host& host, const std::u16string& name) {
  const std::optional<std::uint32_t> attributes = host.FileAttributes(name);
  return attributes && (*attributes & (kAttributeDirectory | kAttributeHidden |
                                       kAttributeSystem)) == 0;
}

bool IsFile(Host& host, const std::u16string& name) {
  const std::optional<std::uint32_t> attributes = host.FileAttributes(name);
  return attributes && (*attributes & kAttributeDirectory) == 0;
}

}  // namespace tolvu
