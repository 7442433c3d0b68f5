// Win32 error codes the tool reports as its exit status.
#pragma once

#include <cstdint>

namespace tolvu {

constexpr std::uint32_t kSuccess = 0;
constexpr std::uint32_t kErrorFileNotFound = 2;       // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t kErrorPathNotFound = 3;       // ERROR_PATH_NOT_FOUND
constexpr std::uint32_t kErrorAccessDenied = 5;       // ERROR_ACCESS_DENIED
constexpr std::uint32_t kErrorNotEnoughMemory = 8;    // ERROR_NOT_ENOUGH_MEMORY
constexpr std::uint32_t kErrorBadFormat = 11;         // ERROR_BAD_FORMAT
constexpr std::uint32_t kErrorInvalidData = 13;       // ERROR_INVALID_DATA
constexpr std::uint32_t kErrorOutOfMemory = 14;       // ERROR_OUTOFMEMORY
constexpr std::uint32_t kErrorGenFailure = 31;        // ERROR_GEN_FAILURE
constexpr std::uint32_t kErrorSharingViolation = 32;  // ERROR_SHARING_VIOLATION
constexpr std::uint32_t kErrorLockViolation = 33;     // ERROR_LOCK_VIOLATION
constexpr std::uint32_t kErrorFileExists = 80;        // ERROR_FILE_EXISTS
constexpr std::uint32_t kErrorCannotMake = 82;        // ERROR_CANNOT_MAKE
constexpr std::uint32_t kErrorInvalidName = 123;      // ERROR_INVALID_NAME
// ERROR_ARITHMETIC_OVERFLOW
constexpr std::uint32_t kErrorArithmeticOverflow = 534;
constexpr std::uint32_t kErrorCantWrite = 1013;  // ERROR_CANTWRITE
// ERROR_KEY_HAS_CHILDREN
constexpr std::uint32_t kErrorKeyHasChildren = 1020;
// ERROR_NO_UNICODE_TRANSLATION
constexpr std::uint32_t kErrorNoUnicodeTranslation = 1113;
constexpr std::uint32_t kErrorNoAssociation = 1155;  // ERROR_NO_ASSOCIATION
constexpr std::uint32_t kErrorDdeFail = 1156;        // ERROR_DDE_FAIL
constexpr std::uint32_t kErrorDllNotFound = 1157;    // ERROR_DLL_NOT_FOUND
constexpr std::uint32_t kErrorBadDevice = 1200;      // ERROR_BAD_DEVICE
constexpr std::uint32_t kErrorInvalidOwner = 1307;   // ERROR_INVALID_OWNER
constexpr std::uint32_t kErrorTimeout = 1460;        // ERROR_TIMEOUT
// ERROR_INVALID_COMMAND_LINE
constexpr std::uint32_t kErrorInvalidCommandLine = 1639;

// Why the shell may not start a program, and a file this account may not
// open.
constexpr std::uint32_t kErrorCancelled = 1223;     // ERROR_CANCELLED
constexpr std::uint32_t kErrorAppHelpBlock = 1259;  // ERROR_APPHELP_BLOCK
// ERROR_ACCESS_DISABLED_BY_POLICY
constexpr std::uint32_t kErrorAccessDisabledByPolicy = 1260;
constexpr std::uint32_t kErrorCantAccessFile = 1920;  // ERROR_CANT_ACCESS_FILE
// ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION
constexpr std::uint32_t kErrorSystemIntegrityPolicyViolation = 4551;

}  // namespace tolvu
