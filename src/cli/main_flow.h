// The tool's entry: one request read from the command line, handled once.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace tolvu {

// Runs the request on the command line and returns the process exit status:
// 0 when carried out, the failing registry status (no box shown), 1639 when
// the usage box was shown, or the code of a run-time failure or failed launch
// after its box.
std::uint32_t RunTolvu(Host& host);

}  // namespace tolvu
