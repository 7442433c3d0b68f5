#include "registry/delete_key_or_value.h"

#include "cli/split_command_line.h"
#include "host/ansi_text.h"
#include "host/run_failure.h"
#include "host/status_codes.h"

namespace tolvu {
namespace {

bool HasSubKeys(Host& host, HostKey key) {
  std::uint32_t subKeys = 0;
  return host.RegQueryInfoKeyA(key, &subKeys) == kSuccess && subKeys != 0;
}

}  // namespace

std::uint32_t DeleteKeyOrValue(Host& host, const KeyPath& key,
                               const std::u16string& dataName) {
  return StatusShowingFailure(host, [&] {
    // Unquoted a second time (reading the request did it once): remove has
    // always read HKCU\""Key"" as Key, and scripts may rely on it.
    const std::string ansiKey =
        AnsiOrFail(host, StripQuotes(key.subKey), u"key path");
    const std::string ansiName =
        AnsiOrFail(host, StripQuotes(dataName), u"value name");

    // The key is opened first in both cases, so a missing key is reported
    // by the open and nothing is deleted.
    HostKey open = 0;
    const std::uint32_t opened = host.RegOpenKeyA(key.root, ansiKey, &open);
    if (opened != kSuccess) {
      return opened;
    }
    // As for add, the name as typed decides: two quotes name the default
    // value, and only a missing name deletes the whole key.
    std::uint32_t status = dataName.empty()
                               ? host.RegDeleteKeyA(key.root, ansiKey)
                               : host.RegDeleteValueA(open, ansiName);
    // The registry refuses a key with sub keys as access denied, which
    // reads as "run it elevated": say what stands in the way instead.
    if (dataName.empty() && status == kErrorAccessDenied &&
        HasSubKeys(host, open)) {
      status = kErrorKeyHasChildren;
    }
    host.RegCloseKey(open);
    return status;
  });
}

}  // namespace tolvu
