// The remove/delete command: delete a key, or one value of a key.
#pragma once

#include <cstdint>
#include <string>

#include "cli/root_keys.h"
#include "host/host.h"

namespace tolvu {

// Deletes the key when there is no data name, otherwise that value (the
// default value for a name of two quotes).
// Returns the status of the registry step that failed (1020 for a key that
// still has sub keys, which is never deleted), 0 on success, or the code of
// a run-time failure after its description box was shown.
std::uint32_t DeleteKeyOrValue(Host& host, const KeyPath& key,
                               const std::u16string& dataName);

}  // namespace tolvu
