#include "windows_arguments.h"

namespace tolvu {

std::vector<std::string> WindowsArguments(const std::string& text) {
  std::vector<std::string> args;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
      ++i;
    }
    if (i == text.size()) {
      return args;
    }
    std::string arg;
    bool quoted = false;
    while (i < text.size() && (quoted || (text[i] != ' ' && text[i] != '\t'))) {
      std::size_t backslashes = 0;
      while (i < text.size() && text[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < text.size() && text[i] == '"') {
        arg.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          arg.push_back('"');
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        arg.append(backslashes, '\\');
        if (backslashes == 0 && i < text.size()) {
          arg.push_back(text[i]);
          ++i;
        }
      }
    }
    args.push_back(arg);
  }
}

}  // namespace tolvu
