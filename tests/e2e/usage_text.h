// What the tool shows when it does not accept a request.
#pragma once

#include <windows.h>

#include <string>

#include "run_program.h"

namespace tolvu_e2e {

// The exit status of every run that showed the usage box
// (ERROR_INVALID_COMMAND_LINE).
constexpr DWORD kUsageExitCode = 1639;

std::wstring UsageText();
Box UsageBox();

}  // namespace tolvu_e2e
