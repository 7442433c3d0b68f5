// How the import and export describe what stops them: the Win32 error of a
// file or key, and the failures that name the export's file.
#pragma once

#include <cstdint>
#include <string>

#include "host/run_failure.h"

namespace tolvu {

// A Win32 error of a file or key lookup, as a description says it.
std::u16string ErrorReason(std::uint32_t error);

// The target of an export cannot be replaced, for the reason given.
RunFailure CannotReplace(const std::u16string& fileName,
                         const std::u16string& reason, std::uint32_t status);

// No file can be written beside the export's target.
RunFailure CannotWrite(const std::u16string& fileName, std::uint32_t error);

}  // namespace tolvu
