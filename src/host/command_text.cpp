#include "host/command_text.h"

namespace tolvu {

std::u16string TextAfterProgramName(const std::u16string& commandLine) {
  bool inQuotes = false;
  std::size_t pos = 0;
  for (; pos < commandLine.size(); ++pos) {
    const char16_t ch = commandLine[pos];
    if (ch == u'"') {
      inQuotes = !inQuotes;
    } else if ((ch == u' ' || ch == u'\t') && !inQuotes) {
      break;
    }
  }
  return commandLine.substr(pos);
}

}  // namespace tolvu
