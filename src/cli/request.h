// The request read from the arguments, and the data types the tool writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/split_command_line.h"

namespace tolvu {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

struct Request {
  std::u16string commandWord;  // argument 1, lower case
  std::u16string keyArgument;  // argument 2 as typed
  std::u16string rootName;     // before the first backslash, unquoted
  std::uint32_t root = 0;
  std::u16string subKey;     // after the first backslash, unquoted
  std::u16string dataName;   // argument 3 as typed
  std::u16string dataValue;  // argument 4 as typed
  std::u16string typeName;   // argument 5, "REG_SZ" when absent
  std::uint32_t dataType = kRegSz;
};

// The type code of a type name in any case; nothing for any other name.
std::optional<std::uint32_t> DataTypeOf(const std::u16string& typeName);

// Nothing when the type name or the root name is not one the tool knows
// (the type is tested first). The root name is not tested for an import,
// whose argument 2 is a file name.
std::optional<Request> ReadRequest(const ArgumentArray& args);

}  // namespace tolvu
