// What the tool asks of a name in the file system, on the host's lookup.
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

// 0 when the name is a file (any file, but not a folder); otherwise the
// lookup's Win32 error, a folder of that name counting as a missing file
// (ERROR_FILE_NOT_FOUND).
std::uint32_t FileError(Host& host, const std::u16string& name);

// The folder part of a file name with its last separator ("C:\x\" of
// "C:\x\a.reg", "C:" of "C:a.reg"); empty for a name in the current folder.
std::u16string FolderOf(const std::u16string& fileName);

}  // namespace tolvu
