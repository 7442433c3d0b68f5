// Number reading and rounding as the tool's data values need them.
#pragma once

#include <cstdint>
#include <string>

namespace tolvu {

// The number at the start of the text: an optional sign, decimal digits and
// an optional fraction after a period (whatever the locale). Reading stops
// at the first character that cannot continue the number; no number gives 0.
double LeadingNumber(const std::u16string& text);

// The nearest integer, ties to the even neighbour. A result outside the
// 32-bit signed range throws RunFailure with kErrorArithmeticOverflow.
std::int32_t RoundToInt32(double x);

}  // namespace tolvu
