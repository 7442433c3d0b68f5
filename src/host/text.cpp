#include "host/text.h"

#include <algorithm>

namespace tolvu {

std::u16string ToUpperAscii(std::u16string text) {
  for (char16_t& ch : text) {
    if (ch >= u'a' && ch <= u'z') {
      ch = static_cast<char16_t>(ch - u'a' + u'A');
    }
  }
  return text;
}

std::u16string ToLowerAscii(std::u16string text) {
  for (char16_t& ch : text) {
    if (ch >= u'A' && ch <= u'Z') {
      ch = static_cast<char16_t>(ch - u'A' + u'a');
    }
  }
  return text;
}

bool EndsWith(const std::u16string& text, const std::u16string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool Contains(const std::u16string& text, char16_t ch) {
  return text.find(ch) != std::u16string::npos;
}

std::u16string DecimalText(std::int64_t number) {
  // Work on the unsigned magnitude so that the most negative value is safe.
  std::uint64_t magnitude = number < 0 ? 0 - static_cast<std::uint64_t>(number)
                                       : static_cast<std::uint64_t>(number);
  std::u16string digits;
  do {
    digits.push_back(static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (number < 0) {
    digits.push_back(u'-');
  }
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::u16string HexText(std::uint64_t number, std::size_t digits) {
  std::u16string text;
  for (; number != 0 || text.size() < digits; number >>= 4U) {
    text.push_back(u"0123456789abcdef"[number & 0xFU]);
  }
  std::reverse(text.begin(), text.end());
  return text;
}

std::u16string CodePointText(char32_t codePoint) {
  return u"U+" + ToUpperAscii(HexText(codePoint, 4));
}

std::u16string Quoted(const std::u16string& text) {
  return u"\"" + text + u"\"";
}

std::u16string FromUtf16Le(const std::string& bytes, std::size_t from) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = from; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(
        static_cast<unsigned char>(bytes[i]) |
        (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1]))
         << 8U)));
  }
  return text;
}

std::string Utf16Le(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFFU));
    bytes.push_back(static_cast<char>(unit >> 8U));
  }
  return bytes;
}

}  // namespace tolvu
