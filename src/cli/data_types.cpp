#include "cli/data_types.h"

#include "host/text.h"

namespace tolvu {
namespace {

struct DataTypeName {
  const char16_t* name;
  std::uint32_t type;
};

constexpr DataTypeName kDataTypes[] = {
    {u"REG_SZ", kRegSz},
    {u"REG_BINARY", kRegBinary},
    {u"REG_DWORD", kRegDword},
};

}  // namespace

std::optional<std::uint32_t> DataTypeOf(const std::u16string& typeName) {
  const std::u16string upper = ToUpperAscii(typeName);
  for (const DataTypeName& entry : kDataTypes) {
    if (upper == entry.name) {
      return entry.type;
    }
  }
  return std::nullopt;
}

}  // namespace tolvu
