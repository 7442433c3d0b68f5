// The part of the process command line that the tool reads as its request.
#pragma once

#include <string>

namespace tolvu {

// The command line after the program's own name. The name ends at the first
// blank or tab outside quotes, each double quote toggling quoting, so that
// the forms batch files produce ("C:\My Tools\"tolvu.exe, "C:\My
// Tools"\tolvu.exe, C:\"My Tools"\tolvu.exe) are all one name.
std::u16string TextAfterProgramName(const std::u16string& commandLine);

}  // namespace tolvu
