// What the tool shows when it does not accept a request.
#pragma once

#include <string>

#include "run_program.h"

namespace tolvu_e2e {

std::wstring UsageText();
Box UsageBox();

}  // namespace tolvu_e2e
