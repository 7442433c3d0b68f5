#include "host/files.h"

#include "host/status_codes.h"

namespace tolvu {

std::uint32_t FileError(Host& host, const std::u16string& name) {
  std::uint32_t attributes = 0;
  const std::uint32_t error = host.FileAttributes(name, &attributes);
  if (error != kSuccess) {
    return error;
  }
  return (attributes & kAttributeDirectory) == 0 ? kSuccess
                                                 : kErrorFileNotFound;
}

std::u16string FolderOf(const std::u16string& fileName) {
  const std::size_t separator = fileName.find_last_of(u"\\/:");
  return separator == std::u16string::npos ? u""
                                           : fileName.substr(0, separator + 1);
}

}  // namespace tolvu
