// The program's title and version, as the project's build gives them.
#pragma once

#include <string>

namespace tolvu {

struct Identity {
  std::u16string title;
  int major;
  int minor;
};

Identity AppIdentity();

// The title and the major and minor version, as in "Tolvu 1.1".
std::u16string WindowTitle();

}  // namespace tolvu
