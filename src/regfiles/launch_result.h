// Reporting the result code of the shell launch of the registry editor.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace tolvu {

// Shows the "Error" box for a failed launch (nothing for a code that means
// the program was started, LaunchStarted) and returns the exit status: 0
// when started, otherwise the launch's last error, or without one a Win32
// error code that matches the shell's reason; never 0.
std::uint32_t ReportLaunchResult(Host& host, const Launched& launched);

}  // namespace tolvu
