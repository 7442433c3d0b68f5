// What the tool asks of a name in the file system, on the host's attributes.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace tolvu {

// FILE_ATTRIBUTE_* bits, as Windows gives them.
constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeSystem = 0x4;
constexpr std::uint32_t kAttributeDirectory = 0x10;

// An ordinary file: read-only and archived files count; hidden and system
// files and folders count as absent.
bool FileExists(Host& host, const std::u16string& name);

// Any file at all, but not a folder.
bool IsFile(Host& host, const std::u16string& name);

}  // namespace tolvu
