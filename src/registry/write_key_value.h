// The add/create command: create or open a key and write one value under it.
#pragma once

#include <cstdint>
#include <string>

#include "cli/root_keys.h"
#include "host/host.h"

namespace tolvu {

// A value as the user typed it: its name and data still carry their quotes.
// An empty name writes no value; type 0 is taken as REG_SZ.
struct TypedValue {
  std::u16string name;
  std::u16string data;
  std::uint32_t type = 0;
};

// The status of the last registry call, or the code of a run-time failure
// after its description box was shown (the key stays created then).
std::uint32_t WriteKeyValue(Host& host, const KeyPath& key,
                            const TypedValue& value);

}  // namespace tolvu
