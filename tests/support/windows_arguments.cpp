#include "support/windows_arguments.h"

#include <cstddef>

namespace tolvu {

std::vector<std::string> WindowsArguments(const std::string& text) {
  std::vector<std::string> args;
  std::string arg;
  bool inArgument = false;
  bool quoted = false;
  std::size_t backslashes = 0;  // not yet known to be literal
  for (const char ch : text) {
    if (ch == '\\') {
      ++backslashes;
      inArgument = true;
      continue;
    }
    if (ch == '"') {
      arg.append(backslashes / 2, '\\');
      if (backslashes % 2 == 1) {
        arg.push_back('"');
      } else {
        quoted = !quoted;
      }
      backslashes = 0;
      inArgument = true;
      continue;
    }
    arg.append(backslashes, '\\');
    backslashes = 0;
    if (!quoted && (ch == ' ' || ch == '\t')) {
      if (inArgument) {
        args.push_back(arg);
        arg.clear();
        inArgument = false;
      }
      continue;
    }
    arg.push_back(ch);
    inArgument = true;
  }
  arg.append(backslashes, '\\');
  if (inArgument) {
    args.push_back(arg);
  }
  return args;
}

}  // namespace tolvu
