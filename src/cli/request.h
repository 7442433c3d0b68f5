// The request read from the arguments.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/data_types.h"
#include "cli/root_keys.h"
#include "cli/split_command_line.h"

namespace tolvu {

struct Request {
  std::u16string commandWord;  // argument 1, lower case
  std::u16string keyArgument;  // argument 2 as typed
  std::uint32_t root = kNoRoot;
  std::u16string subKey;     // after the first backslash, unquoted
  std::u16string dataName;   // argument 3 as typed
  std::u16string dataValue;  // argument 4 as typed
  std::uint32_t dataType = kRegSz;
};

// Nothing when the type name or the root name is not one the tool knows
// (the type is tested first). The root name is not tested for an import,
// whose argument 2 is a file name.
std::optional<Request> ReadRequest(const ArgumentArray& args);

}  // namespace tolvu
