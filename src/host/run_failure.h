// The tool's one run-time failure signal: a description for the user and
// the Win32 code the run then ends with.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace tolvu {

struct RunFailure {
  std::u16string description;
  std::uint32_t code;
};

// The description box: the text, no icon, the program title.
void ShowRunFailure(Host& host, const RunFailure& failure);

// Runs `work` for its status. A RunFailure it raises is shown as the
// description box, and its code becomes the status; one without a
// description has been told already (in a launch's own box).
template <typename Work>
std::uint32_t StatusShowingFailure(Host& host, Work&& work) {
  try {
    return work();
  } catch (const RunFailure& failure) {
    if (!failure.description.empty()) {
      ShowRunFailure(host, failure);
    }
    return failure.code;
  }
}

}  // namespace tolvu
