// How the import and export describe the Win32 error of a file or key that
// stops them.
#pragma once

#include <cstdint>
#include <string>

namespace tolvu {

// A Win32 error of a file or key lookup, as a description says it.
std::u16string ErrorReason(std::uint32_t error);

}  // namespace tolvu
