#include "support/code_pages.h"

#include <cstdint>

#include "host/text.h"
#include "host/unseen_box.h"

namespace tolvu {
namespace {

// Bytes 0x80 to 0x9F; the five bytes Windows leaves undefined map to the
// C1 control of the same number, as its conversion tables do.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<char> EncodeCharacter(char16_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
    return static_cast<char>(static_cast<std::uint8_t>(ch));
  }
  for (std::uint8_t i = 0; i < 32; ++i) {
    if (kHighControls[i] == ch) {
      return static_cast<char>(static_cast<std::uint8_t>(0x80 + i));
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> EncodeCp1252(const std::u16string& text) {
  std::string bytes;
  for (const char16_t ch : text) {
    const std::optional<char> byte = EncodeCharacter(ch);
    if (!byte) {
      return std::nullopt;
    }
    bytes.push_back(*byte);
  }
  return bytes;
}

std::u16string DecodeCp1252(const std::string& bytes) {
  std::u16string text;
  for (const char byte : bytes) {
    const auto code = static_cast<std::uint8_t>(byte);
    text.push_back(code >= 0x80 && code < 0xA0 ? kHighControls[code - 0x80]
                                               : char16_t{code});
  }
  return text;
}

std::optional<std::string> EncodeUtf8(const std::u16string& text) {
  // Utf8 writes U+FFFD for half a pair; as a code page UTF-8 refuses it.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() &&
        IsLowSurrogate(text[i + 1])) {
      ++i;
    } else if (IsSurrogate(text[i])) {
      return std::nullopt;
    }
  }
  return Utf8(text);
}

std::u16string DecodeUtf8(const std::string& bytes) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                                             : 4;
    std::uint32_t point = length == 1 ? lead : lead & (0x7FU >> length);
    for (std::size_t k = 1; k < length && i + k < bytes.size(); ++k) {
      point = (point << 6U) | (static_cast<std::uint8_t>(bytes[i + k]) & 0x3FU);
    }
    if (point >= 0x10000) {
      text.push_back(static_cast<char16_t>(0xD7C0 + (point >> 10U)));
      text.push_back(static_cast<char16_t>(0xDC00 | (point & 0x3FFU)));
    } else {
      text.push_back(static_cast<char16_t>(point));
    }
    i += length;
  }
  return text;
}

std::u16string UpperCaseAsciiAndCyrillic(std::u16string text) {
  for (char16_t& ch : text) {
    if ((ch >= u'a' && ch <= u'z') || (ch >= 0x430 && ch <= 0x44F)) {
      ch = static_cast<char16_t>(ch - 0x20);  // a to A, \u0430 to \u0410
    } else if (ch >= 0x450 && ch <= 0x45F) {
      ch = static_cast<char16_t>(ch - 0x50);  // \u0450 to \u0400
    }
  }
  return text;
}

}  // namespace tolvu
