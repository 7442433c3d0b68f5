// Cutting the command-line text into arguments. Quote characters only group
// blanks into an argument and stay in it; consumers strip them piece by
// piece, so a quoted key path can be cut at its backslash first.
#pragma once

#include <string>
#include <vector>

namespace tolvu {

// Slot 0 is always empty; slots 1 to count hold the arguments as typed.
using ArgumentArray = std::vector<std::u16string>;

constexpr int kMaxArguments = 10;

ArgumentArray SplitCommandLine(const std::u16string& commandText,
                               int maxArgs = kMaxArguments);

// Removes at most one leading and at most one trailing double quote.
std::u16string StripQuotes(const std::u16string& text);

}  // namespace tolvu
