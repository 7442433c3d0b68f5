// Small text helpers over 16-bit strings. Case folding here is ASCII-only:
// every word the tool compares against (commands, roots, types, ".reg") is
// ASCII, and the result must not depend on the user's locale. Registry
// names, in any language, are folded by the host (Host::UpperCase).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tolvu {

std::u16string ToUpperAscii(std::u16string text);
std::u16string ToLowerAscii(std::u16string text);
bool EndsWith(const std::u16string& text, const std::u16string& suffix);
bool Contains(const std::u16string& text, char16_t ch);

// UTF-16 surrogates, U+D800 to U+DFFF: the high half of a pair comes
// first, the low half second.
inline bool IsSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDFFF; }
inline bool IsHighSurrogate(char16_t ch) {
  return IsSurrogate(ch) && ch < 0xDC00;
}
inline bool IsLowSurrogate(char16_t ch) {
  return IsSurrogate(ch) && ch >= 0xDC00;
}
// The code point a high and a low surrogate stand for together.
inline char32_t CombineSurrogates(char16_t high, char16_t low) {
  return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10U) +
         (static_cast<char32_t>(low) - 0xDC00);
}

// Decimal digits with a leading minus sign for negative numbers.
std::u16string DecimalText(std::int64_t number);

// "U+00E9"-style code point notation.
std::u16string CodePointText(char32_t codePoint);

// Lower-case hexadecimal digits of the number, at least `digits` of them
// (zeros in front).
std::u16string HexText(std::uint64_t number, std::size_t digits);

// UTF-16LE bytes from `from` on as text; an odd last byte is dropped.
std::u16string FromUtf16Le(const std::string& bytes, std::size_t from = 0);
// The text as UTF-16LE bytes, without a byte-order mark.
std::string Utf16Le(const std::u16string& text);

// The text in double quotes, for naming an argument in a description.
std::u16string Quoted(const std::u16string& text);

}  // namespace tolvu
