// Arguments as a Windows program reads them from its command line (the
// rules of the Microsoft C runtime and CommandLineToArgvW), to see what the
// registry editor makes of the parameters the tool launches it with.
#pragma once

#include <string>
#include <vector>

namespace tolvu {

// Arguments end at a blank or tab outside quotes; a double quote toggles
// quoting and is dropped. Backslashes are literal except before a double
// quote: 2n of them give n and the quote toggles, 2n+1 give n and a literal
// quote.
std::vector<std::string> WindowsArguments(const std::string& text);

}  // namespace tolvu
