#include "registry/write_key_value.h"

#include <optional>

#include "cli/data_types.h"
#include "cli/split_command_line.h"
#include "host/ansi_text.h"
#include "host/numbers.h"
#include "host/run_failure.h"
#include "host/status_codes.h"
#include "host/text.h"

namespace tolvu {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

// Inside the outer quotes, two double quotes stand for one, so that a
// command line can write a quoted program path; a lone quote stays.
std::u16string StringData(const std::u16string& dataValue) {
  const std::u16string inner = StripQuotes(dataValue);
  std::u16string text;
  for (std::size_t i = 0; i < inner.size(); ++i) {
    text.push_back(inner[i]);
    if (inner[i] == u'"' && i + 1 < inner.size() && inner[i + 1] == u'"') {
      ++i;
    }
  }
  return text;
}

std::vector<std::uint8_t> StringPayload(Host& host,
                                        const std::u16string& dataValue) {
  std::vector<std::uint8_t> bytes =
      Bytes(AnsiOrFail(host, StringData(dataValue), u"string data"));
  bytes.push_back(0);
  return bytes;
}

// A character that is not a hexadecimal digit counts as 0, and so does the
// missing half of an odd last digit.
std::vector<std::uint8_t> HexPayload(const std::u16string& digits) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const std::uint8_t high = HexDigitValue(digits[i]).value_or(0);
    const std::uint8_t low =
        i + 1 < digits.size() ? HexDigitValue(digits[i + 1]).value_or(0) : 0;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

// The text between the first and last character when it starts with a
// double quote, otherwise pairs of hexadecimal digits (an odd last digit is
// the high half of a final byte).
std::vector<std::uint8_t> BinaryPayload(Host& host,
                                        const std::u16string& dataValue) {
  if (dataValue.empty() || dataValue.front() != u'"') {
    return HexPayload(dataValue);
  }
  if (dataValue.size() < 2) {
    throw RunFailure{u"The binary data value " + Quoted(dataValue) +
                         u" opens a quoted text but does not close it; "
                         u"type the text between two double quotes.",
                     kErrorInvalidData};
  }
  // Cut by position: the characters between the first and the last.
  const std::u16string text = dataValue.substr(1, dataValue.size() - 2);
  return Bytes(SingleByteAnsiOrFail(host, text, u"binary data"));
}

// The four little-endian bytes of a REG_DWORD data value; a number in
// quotes is that number.
std::vector<std::uint8_t> DwordPayload(const std::u16string& typed) {
  const std::u16string dataValue = StripQuotes(typed);
  const std::optional<std::uint32_t> bits = DwordBits(dataValue);
  if (!bits) {
    const bool negative = !dataValue.empty() && dataValue.front() == u'-';
    throw RunFailure{u"The number " + Quoted(dataValue) + u" is too " +
                         (negative ? u"small" : u"large") +
                         u" for a REG_DWORD value, which holds whole numbers "
                         u"from -2147483648 to 2147483647, or 0x0 to "
                         u"0xFFFFFFFF in hexadecimal.",
                     kErrorArithmeticOverflow};
  }
  return DwordBytes(*bits);
}

// Nothing for a type the tool does not write.
std::optional<std::vector<std::uint8_t>> Payload(
    Host& host, std::uint32_t type, const std::u16string& dataValue) {
  switch (type) {
    case kRegSz:
      return StringPayload(host, dataValue);
    case kRegBinary:
      return BinaryPayload(host, dataValue);
    case kRegDword:
      return DwordPayload(dataValue);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::uint32_t WriteKeyValue(Host& host, const KeyPath& key,
                            const TypedValue& value) {
  return StatusShowingFailure(host, [&] {
    const std::string ansiKey = AnsiOrFail(host, key.subKey, u"key path");
    HostKey open = 0;
    const std::uint32_t created = host.RegCreateKeyA(key.root, ansiKey, &open);
    if (created != kSuccess) {
      return created;  // no handle was opened: nothing to write or close
    }
    std::uint32_t status = kSuccess;
    // The presence test looks at the name as typed: two quotes name the
    // key's default value. A value that fails is not written, and the key
    // is still closed.
    if (!value.name.empty()) {
      status = StatusShowingFailure(host, [&] {
        const std::uint32_t type = value.type == 0 ? kRegSz : value.type;
        const std::string name =
            AnsiOrFail(host, StripQuotes(value.name), u"value name");
        const auto payload = Payload(host, type, value.data);
        return payload ? host.RegSetValueExA(open, name, type, *payload)
                       : kSuccess;
      });
    }
    host.RegCloseKey(open);
    return status;
  });
}

}  // namespace tolvu
