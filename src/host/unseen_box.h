// A message box that no user could see: where the process runs on a window
// station that is not visible (services, deployment agents, scheduled tasks
// as SYSTEM), or in session 0, a modal box would wait forever. Its title and
// text go to standard error instead, in this form.
#pragma once

#include <string>

#include "host/host.h"

namespace tolvu {

// Where no user could answer a box: a window station that no user sees,
// and session 0 whatever its station says.
bool NobodySeesBoxes(Host& host);

// "Title: text" and a line break, as UTF-8.
std::string UnseenBoxText(const std::u16string& title,
                          const std::u16string& text);

// UTF-8 of 16-bit text; a lone surrogate becomes U+FFFD.
std::string Utf8(const std::u16string& text);

}  // namespace tolvu
