// The command routes, offered a request in a fixed order: add/create,
// remove/delete, import, export. The first that accepts runs.
#pragma once

#include <cstdint>
#include <optional>

#include "cli/request.h"
#include "host/host.h"

namespace tolvu {

// The exit status of the route that accepted, or nothing when none did.
std::optional<std::uint32_t> RunFirstRoute(Host& host, const Request& request);

}  // namespace tolvu
