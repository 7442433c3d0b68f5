#include "host/files.h"

#include "host/status_codes.h"

namespace tolvu {
namespace {

// Subst letters may stand for folders on each other; a longer chain than
// this is a loop.
constexpr int kSubstSteps = 8;

bool OnDriveLetter(const std::u16string& path) {
  return path.find(u":\\") == 1;
}

// The folder a subst letter ("Y:") stands for, without a trailing
// backslash ("C:" for C:\); empty for a drive that is none.
std::u16string SubstFolder(Host& host, const std::u16string& drive) {
  const std::u16string prefix = u"\\??\\";
  std::u16string target;
  if (host.QueryDosDeviceW(drive, &target) != kSuccess ||
      target.rfind(prefix, 0) != 0 ||
      !OnDriveLetter(target.substr(prefix.size()))) {
    return u"";
  }
  if (target.back() == u'\\') {
    target.pop_back();
  }
  return target.substr(prefix.size());
}

}  // namespace

bool TrustedOwner(const std::u16string& ownerSid,
                  const std::u16string& runningSid) {
  return (!runningSid.empty() && ownerSid == runningSid) ||
         ownerSid == u"S-1-5-18" || ownerSid == u"S-1-5-32-544" ||
         ownerSid ==
             u"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
}

std::u16string PathForAnySession(Host& host, const std::u16string& fullPath) {
  if (!OnDriveLetter(fullPath)) {
    return fullPath;  // a network path already, or one taken as it stands
  }
  std::u16string path = fullPath;
  for (int step = 0; step < kSubstSteps; ++step) {
    const std::u16string folder = SubstFolder(host, path.substr(0, 2));
    if (folder.empty()) {
      std::u16string network;
      return host.NetworkPath(path, &network) == kSuccess ? network : path;
    }
    path.replace(0, 2, folder);
  }
  return fullPath;
}

std::u16string FolderOf(const std::u16string& fileName) {
  const std::size_t separator = fileName.find_last_of(u"\\/:");
  return separator == std::u16string::npos ? u""
                                           : fileName.substr(0, separator + 1);
}

}  // namespace tolvu
