// Exit statuses of the tool that the cases check. The tool ends with Win32
// error codes; these carry the winerror.h names, as plain DWORDs to compare
// with GetExitCodeProcess.
#pragma once

#include <windows.h>

namespace tolvu_e2e {

constexpr DWORD kExitFileNotFound = 2;          // ERROR_FILE_NOT_FOUND
constexpr DWORD kExitPathNotFound = 3;          // ERROR_PATH_NOT_FOUND
constexpr DWORD kExitAccessDenied = 5;          // ERROR_ACCESS_DENIED
constexpr DWORD kExitInvalidHandle = 6;         // ERROR_INVALID_HANDLE
constexpr DWORD kExitCannotMake = 82;           // ERROR_CANNOT_MAKE
constexpr DWORD kExitInvalidName = 123;         // ERROR_INVALID_NAME
constexpr DWORD kExitArithmeticOverflow = 534;  // ERROR_ARITHMETIC_OVERFLOW
constexpr DWORD kExitNoUnicodeTranslation =
    1113;  // ERROR_NO_UNICODE_TRANSLATION
// Every run that showed the usage box.
constexpr DWORD kExitUsage = 1639;  // ERROR_INVALID_COMMAND_LINE

}  // namespace tolvu_e2e
