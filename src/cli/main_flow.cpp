#include "cli/main_flow.h"

#include <optional>

#include "cli/request.h"
#include "cli/routes.h"
#include "cli/split_command_line.h"
#include "cli/usage.h"
#include "host/run_failure.h"

namespace tolvu {

std::uint32_t RunTolvu(Host& host) {
  try {
    const std::optional<Request> request =
        ReadRequest(SplitCommandLine(host.CommandText()));
    if (!request) {
      return ShowUsage(host);
    }
    if (const std::optional<std::uint32_t> status =
            RunFirstRoute(host, *request)) {
      return *status;
    }
    return ShowUsage(host);
  } catch (const RunFailure& failure) {
    // Only failures of steps without a failure path of their own get here.
    ShowRunFailure(host, failure);
    return ShowUsage(host);
  }
}

}  // namespace tolvu
