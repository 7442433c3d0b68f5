// The registry data types by name and by code: those the tool writes, and
// those a registry file may hold.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tolvu {

constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;
constexpr std::uint32_t kRegQword = 11;

// The type code of a type name the tool writes (REG_SZ, REG_BINARY,
// REG_DWORD) in any case; nothing for any other name.
std::optional<std::uint32_t> DataTypeOf(const std::u16string& typeName);

// The name of a type code (REG_NONE, REG_SZ, ...); empty for a code that
// has none here.
std::u16string DataTypeName(std::uint32_t type);

}  // namespace tolvu
