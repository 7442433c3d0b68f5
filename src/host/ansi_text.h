// Conversion of the tool's 16-bit text to the ANSI text the registry calls
// and the shell launch take. A character the system code page cannot
// represent is a run-time failure naming it: the tool never lets the
// conversion write a substitute such as '?' in its place.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace tolvu {

// `what` names the argument in the description, e.g. u"key path".
std::string AnsiOrFail(Host& host, const std::u16string& text,
                       const std::u16string& what);

// One byte per character: a character that needs more than one byte (or
// none exists for it) is a run-time failure.
std::string SingleByteAnsiOrFail(Host& host, const std::u16string& text,
                                 const std::u16string& what);

}  // namespace tolvu
