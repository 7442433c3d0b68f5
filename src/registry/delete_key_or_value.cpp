#include "registry/delete_key_or_value.h"

#include "cli/split_command_line.h"
#include "host/ansi_text.h"
#include "host/run_failure.h"
#include "host/status_codes.h"

namespace tolvu {

std::uint32_t DeleteKeyOrValue(Host& host, std::uint32_t root,
                               const std::u16string& subKey,
                               const std::u16string& dataName) {
  return StatusShowingFailure(host, [&] {
    const std::string ansiKey =
        AnsiOrFail(host, StripQuotes(subKey), u"key path");
    const std::string ansiName =
        AnsiOrFail(host, StripQuotes(dataName), u"value name");

    // The key is opened first in both cases, so a missing key is reported
    // by the open and nothing is deleted.
    HostKey key = 0;
    const auto opened =
        static_cast<std::uint32_t>(host.RegOpenKeyA(root, ansiKey, &key));
    if (opened != kSuccess) {
      return opened;
    }
    const auto status = static_cast<std::uint32_t>(
        ansiName.empty() ? host.RegDeleteKeyA(root, ansiKey)
                         : host.RegDeleteValueA(key, ansiName));
    host.RegCloseKey(key);
    return status;
  });
}

}  // namespace tolvu
