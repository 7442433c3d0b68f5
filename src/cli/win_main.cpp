// Entry point of tolvu.exe: a GUI-subsystem program, so no console opens.
#include <new>

#include "cli/main_flow.h"
#include "host/windows_host.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/,
                    PWSTR /*commandLine*/, int /*show*/) {
  try {
    tolvu::WindowsHost host;
    return static_cast<int>(tolvu::RunTolvu(host));
  } catch (const std::bad_alloc&) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}
