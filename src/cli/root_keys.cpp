#include "cli/root_keys.h"

#include "host/text.h"

namespace tolvu {
namespace {

struct RootKey {
  const char16_t* abbreviation;
  const char16_t* longName;
  std::uint32_t handle;
  bool inRegFiles;  // a registry file may name it
};

// Lookup order matters only for documentation: the names are all distinct.
constexpr RootKey kRootKeys[] = {
    {u"HKLM", u"HKEY_LOCAL_MACHINE", 0x80000002, true},
    {u"HKCU", u"HKEY_CURRENT_USER", 0x80000001, true},
    {u"HKU", u"HKEY_USERS", 0x80000003, true},
    {u"HKCC", u"HKEY_CURRENT_CONFIG", 0x80000005, true},
    {u"HKCR", u"HKEY_CLASSES_ROOT", 0x80000000, true},
    {u"HKDD", u"HKEY_DYN_DATA", 0x80000006, true},
    // Its data is made on each read; the editor takes no file's keys there.
    {u"HKPD", u"HKEY_PERFORMANCE_DATA", 0x80000004, false},
};

}  // namespace

std::optional<std::uint32_t> RootKeyHandle(const std::u16string& rootName) {
  const std::u16string upper = ToUpperAscii(rootName);
  for (const RootKey& key : kRootKeys) {
    if (upper == key.abbreviation || upper == key.longName) {
      return key.handle;
    }
  }
  if (upper == kNoRootName) {
    return kNoRoot;
  }
  return std::nullopt;
}

std::optional<std::uint32_t> RegFileRootKey(const std::u16string& longName) {
  const std::u16string upper = ToUpperAscii(longName);
  for (const RootKey& key : kRootKeys) {
    if (key.inRegFiles && upper == key.longName) {
      return key.handle;
    }
  }
  return std::nullopt;
}

std::u16string RootKeyName(std::uint32_t handle) {
  for (const RootKey& key : kRootKeys) {
    if (key.handle == handle) {
      return key.longName;
    }
  }
  return u"";
}

}  // namespace tolvu
