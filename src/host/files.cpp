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

bool TrustedOwner(const std::u16string& ownerSid,
                  const std::u16string& runningSid) {
  return (!runningSid.empty() && ownerSid == runningSid) ||
         ownerSid == u"S-1-5-18" || ownerSid == u"S-1-5-32-544" ||
         ownerSid ==
             u"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
}

std::u16string FolderOf(const std::u16string& fileName) {
  const std::size_t separator = fileName.find_last_of(u"\\/:");
  return separator == std::u16string::npos ? u""
                                           : fileName.substr(0, separator + 1);
}

}  // namespace tolvu
