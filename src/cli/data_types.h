// The registry data types the tool writes, by name and by code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tolvu {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

// The type code of a type name in any case; nothing for any other name.
std::optional<std::uint32_t> DataTypeOf(const std::u16string& typeName);

}  // namespace tolvu
