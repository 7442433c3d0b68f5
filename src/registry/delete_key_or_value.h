// The remove/delete command: delete a key, or one value of a key.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace tolvu {

// Deletes the key when the unquoted data name is empty, otherwise that value.
// Returns the status of the registry step that failed, 0 on success, or the
// code of a run-time failure after its description box was shown.
std::uint32_t DeleteKeyOrValue(Host& host, std::uint32_t root,
                               const std::u16string& subKey,
                               const std::u16string& dataName);

}  // namespace tolvu
