#include "cli/split_command_line.h"

namespace tolvu {

ArgumentArray SplitCommandLine(const std::u16string& commandText, int maxArgs) {
  ArgumentArray args(1);
  bool inArgument = false;
  bool inQuotes = false;
  for (const char16_t ch : commandText) {
    if ((ch != u' ' && ch != u'\t') || inQuotes) {
      if (!inArgument) {
        if (static_cast<int>(args.size()) - 1 >= maxArgs) {
          break;  // the rest of the text is ignored
        }
        args.emplace_back();
        inArgument = true;
      }
      if (ch == u'"') {
        inQuotes = !inQuotes;
      }
      args.back().push_back(ch);
    } else {
      inArgument = false;
    }
  }
  return args;
}

std::u16string StripQuotes(const std::u16string& text) {
  std::u16string result = text;
  if (!result.empty() && result.front() == u'"') {
    result.erase(0, 1);
  }
  if (!result.empty() && result.back() == u'"') {
    result.pop_back();
  }
  return result;
}

}  // namespace tolvu
