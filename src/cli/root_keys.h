// The predefined registry root keys the tool accepts, by abbreviation and
// long name, with the 32-bit handle values the registry calls take.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tolvu {

// No root key: the root name "NONE", or argument 2 without a backslash.
constexpr std::uint32_t kNoRoot = 0;
constexpr const char16_t* kNoRootName = u"NONE";

// A registry key as the tool names it: a root key and the path below it.
struct KeyPath {
  std::uint32_t root = kNoRoot;
  std::u16string subKey;
};

// The handle for an abbreviation or long name in any case, kNoRoot for
// kNoRootName, nothing for any other name.
std::optional<std::uint32_t> RootKeyHandle(const std::u16string& rootName);

// The handle of a root as a registry file names it: by its long name, in
// any case. Nothing for an abbreviation, for HKEY_PERFORMANCE_DATA, which
// the registry editor does not import into, and for any other name.
std::optional<std::uint32_t> RegFileRootKey(const std::u16string& longName);

// The long name of a handle of the table; empty for any other value.
std::u16string RootKeyName(std::uint32_t handle);

}  // namespace tolvu
