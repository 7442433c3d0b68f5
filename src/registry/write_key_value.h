// The add/create command: create or open a key and write one value under it.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace tolvu {

// 10 to 15 for A to F in either case; otherwise the leading number of the
// text rounded (0 to 9 for a digit, 0 for anything else and for "").
std::int32_t HexDigitValue(const std::u16string& ch);

// The status of the last registry call, or the code of a run-time failure
// after its description box was shown (the key stays created then).
std::uint32_t WriteKeyValue(Host& host, std::uint32_t root,
                            const std::u16string& subKey,
                            const std::u16string& dataName,
                            const std::u16string& dataValue,
                            std::uint32_t dataType);

}  // namespace tolvu
