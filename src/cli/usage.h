// The usage box shown for every request the tool does not accept.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace tolvu {

std::u16string UsageText();

// Shows the usage box and returns the exit status for it,
// ERROR_INVALID_COMMAND_LINE.
std::uint32_t ShowUsage(Host& host);

}  // namespace tolvu
