#include "host/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tolvu {
namespace {

bool IsDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

}  // namespace

double LeadingNumber(const std::u16string& text) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
    negative = text[pos] == u'-';
    ++pos;
  }
  // Collect the digits as ASCII so the conversion is locale-free.
  std::string number;
  std::size_t digits = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    number.push_back(static_cast<char>(text[pos++]));
    ++digits;
  }
  if (pos < text.size() && text[pos] == u'.') {
    ++pos;
    std::string fraction;
    while (pos < text.size() && IsDigit(text[pos])) {
      fraction.push_back(static_cast<char>(text[pos++]));
      ++digits;
    }
    if (!fraction.empty()) {
      number += "." + fraction;
    }
  }
  if (digits == 0) {
    return 0.0;
  }
  if (number.front() == '.') {
    number.insert(number.begin(), '0');
  }
  double value = 0.0;
  const auto result =
      std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too many digits for a double: far beyond any 32-bit value anyway, or
    // so small that it is zero for every use the tool makes of it.
    value = number.find_first_not_of("0.") < number.find('.')
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  }
  return negative ? -value : value;
}

std::optional<std::int32_t> RoundToInt32(double x) {
  if (!std::isfinite(x)) {
    return std::nullopt;
  }
  const double floor = std::floor(x);
  const double fraction = x - floor;
  double rounded = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) {
    rounded = floor + 1.0;
  }
  if (rounded < -2147483648.0 || rounded > 2147483647.0) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

std::optional<std::uint8_t> HexDigitValue(char16_t ch) {
  if (IsDigit(ch)) {
    return static_cast<std::uint8_t>(ch - u'0');
  }
  if (ch >= u'a' && ch <= u'f') {
    return static_cast<std::uint8_t>(ch - u'a' + 10);
  }
  if (ch >= u'A' && ch <= u'F') {
    return static_cast<std::uint8_t>(ch - u'A' + 10);
  }
  return std::nullopt;
}

HexRun ReadHexDigits(const std::u16string& text, std::size_t at) {
  // Past 33 bits the exact value no longer matters: it is out of range.
  constexpr std::uint64_t kCap = std::uint64_t{1} << 33U;
  HexRun run{at, 0};
  for (; run.end < text.size(); ++run.end) {
    const std::optional<std::uint8_t> digit = HexDigitValue(text[run.end]);
    if (!digit) {
      break;
    }
    run.value = std::min(run.value * 16 + *digit, kCap);
  }
  return run;
}

std::vector<std::uint8_t> DwordBytes(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value & 0xFFU),
          static_cast<std::uint8_t>((value >> 8U) & 0xFFU),
          static_cast<std::uint8_t>((value >> 16U) & 0xFFU),
          static_cast<std::uint8_t>((value >> 24U) & 0xFFU)};
}

std::optional<std::uint32_t> DwordBits(const std::u16string& text) {
  std::size_t pos = 0;
  const bool hasSign = !text.empty() && (text[0] == u'+' || text[0] == u'-');
  if (hasSign) {
    ++pos;
  }
  if (text.size() < pos + 2 || text[pos] != u'0' ||
      (text[pos + 1] != u'x' && text[pos + 1] != u'X')) {
    const std::optional<std::int32_t> number =
        RoundToInt32(LeadingNumber(text));
    if (!number) {
      return std::nullopt;
    }
    return static_cast<std::uint32_t>(*number);
  }
  const std::uint64_t value = ReadHexDigits(text, pos + 2).value;
  if (hasSign && text[0] == u'-') {
    if (value > 0x80000000U) {
      return std::nullopt;
    }
    return static_cast<std::uint32_t>(0 - value);
  }
  if (value > 0xFFFFFFFFU) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace tolvu
