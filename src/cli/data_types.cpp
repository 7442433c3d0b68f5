#include "cli/data_types.h"

#include "host/text.h"

namespace tolvu {
namespace {

struct DataTypeRow {
  const char16_t* name;
  std::uint32_t type;
  bool written;  // by add
};

constexpr DataTypeRow kDataTypes[] = {
    {u"REG_NONE", kRegNone, false},
    {u"REG_SZ", kRegSz, true},
    {u"REG_EXPAND_SZ", kRegExpandSz, false},
    {u"REG_BINARY", kRegBinary, true},
    {u"REG_DWORD", kRegDword, true},
    {u"REG_MULTI_SZ", kRegMultiSz, false},
    {u"REG_QWORD", kRegQword, false},
};

}  // namespace

std::optional<std::uint32_t> DataTypeOf(const std::u16string& typeName) {
  const std::u16string upper = ToUpperAscii(typeName);
  for (const DataTypeRow& entry : kDataTypes) {
    if (entry.written && upper == entry.name) {
      return entry.type;
    }
  }
  return std::nullopt;
}

std::u16string DataTypeName(std::uint32_t type) {
  for (const DataTypeRow& entry : kDataTypes) {
    if (entry.type == type) {
      return entry.name;
    }
  }
  return u"";
}

}  // namespace tolvu
