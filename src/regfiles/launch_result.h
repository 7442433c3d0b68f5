// Reporting the result code of the shell launch of the registry editor.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace tolvu {

// The error box text for a result code of 32 or less.
std::u16string LaunchResultMessage(std::int32_t code);

// The exit status for a launch result: 0 when the program was started,
// otherwise a Win32 error code that matches the reason, never 0.
std::uint32_t LaunchResultStatus(std::int32_t code);

// Shows the "Error" box for a failed launch (nothing for a code above 32)
// and returns LaunchResultStatus(code).
std::uint32_t ReportLaunchResult(Host& host, std::int32_t code);

}  // namespace tolvu
