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

std::u16string CodePointText(char32_t codePoint) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string digits;
  for (int shift = 20; shift >= 0; shift -= 4) {
    const auto nibble = (codePoint >> static_cast<unsigned>(shift)) & 0xFU;
    if (nibble != 0 || !digits.empty() || shift < 16) {
      digits.push_back(kHex[nibble]);
    }
  }
  return u"U+" + digits;
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

}  // namespace tolvu
