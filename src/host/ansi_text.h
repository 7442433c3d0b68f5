// Conversion of the tool's 16-bit text to the ANSI text the registry calls
// and the shell launch take: UTF-8 where Windows honours the manifest, else
// the system code page. A character that cannot be represented is a
// run-time failure naming it: the tool never lets the conversion write a
// substitute such as '?' in its place.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace tolvu {

// `what` names the argument in the description, e.g. u"key path".
std::string AnsiOrFail(Host& host, const std::u16string& text,
                       const std::u16string& what);

// One byte per character in the system's code page, whatever the process
// uses, as quoted REG_BINARY text has always been: a character that needs
// more than one byte there (or has none) is a run-time failure.
std::string SingleByteAnsiOrFail(Host& host, const std::u16string& text,
                                 const std::u16string& what);

}  // namespace tolvu
