// Number reading and rounding as the tool's data values need them. Nothing
// here fails: a value out of range is an empty result, for the caller to
// describe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvu {

// The number at the start of the text: an optional sign, decimal digits and
// an optional fraction after a period (whatever the locale). Reading stops
// at the first character that cannot continue the number; no number gives 0.
double LeadingNumber(const std::u16string& text);

// The nearest integer, ties to the even neighbour; nothing when that is
// outside the 32-bit signed range (or x is not finite).
std::optional<std::int32_t> RoundToInt32(double x);

// 0 to 15 for a hexadecimal digit, 0-9, A-F or a-f; nothing for any other
// character.
std::optional<std::uint8_t> HexDigitValue(char16_t ch);

// A run of hexadecimal digits: where it ends (where it began when there is
// none), and its value; 2^33 stands for any larger one.
struct HexRun {
  std::size_t end = 0;
  std::uint64_t value = 0;
};

// The hexadecimal digits of the text from `at`, up to the first other
// character or the end.
HexRun ReadHexDigits(const std::u16string& text, std::size_t at);

// The four bytes of a REG_DWORD value, least significant first.
std::vector<std::uint8_t> DwordBytes(std::uint32_t value);

// The 32 bits a REG_DWORD data value stands for. "0x" or "0X" followed by
// hexadecimal digits (read up to the first other character) gives the bit
// pattern of those digits, up to 0xFFFFFFFF; a sign before it negates the
// value, down to -0x80000000. Anything else is read as
// RoundToInt32(LeadingNumber(text)). Nothing for a value that does not fit.
std::optional<std::uint32_t> DwordBits(const std::u16string& text);

}  // namespace tolvu
