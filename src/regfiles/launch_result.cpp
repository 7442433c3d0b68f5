#include "regfiles/launch_result.h"

#include "host/status_codes.h"
#include "host/text.h"

namespace tolvu {
namespace {

struct LaunchFailure {
  std::int32_t code;
  const char16_t* message;
  std::uint32_t status;
};

// ShellExecute's result codes and the Win32 errors they stand for.
constexpr LaunchFailure kLaunchFailures[] = {
    {0, u"Out of memory or resources", kErrorOutOfMemory},
    {2, u"File not found", kErrorFileNotFound},
    {3, u"Path not found", kErrorPathNotFound},
    {5, u"File access denied", kErrorAccessDenied},
    {8, u"Out of memory", kErrorNotEnoughMemory},
    {11, u"Invalid .EXE file", kErrorBadFormat},
    {26, u"Sharing violation", kErrorSharingViolation},
    {27, u"Invalid file name association", kErrorNoAssociation},
    {28, u"DDE timeout", kErrorDdeFail},
    {29, u"DDE transaction failed", kErrorDdeFail},
    {30, u"DDE busy", kErrorDdeFail},
    {31, u"No associated application", kErrorNoAssociation},
    {32, u"DLL not found", kErrorDllNotFound},
};

const LaunchFailure* FindLaunchFailure(std::int32_t code) {
  for (const LaunchFailure& failure : kLaunchFailures) {
    if (failure.code == code) {
      return &failure;
    }
  }
  return nullptr;
}

}  // namespace

std::uint32_t ReportLaunchResult(Host& host, std::int32_t code) {
  if (LaunchStarted(code)) {
    return kSuccess;
  }
  if (const LaunchFailure* failure = FindLaunchFailure(code)) {
    host.ShowMessageBox(failure->message, Icon::Exclamation, u"Error");
    return failure->status;
  }
  host.ShowMessageBox(u"Unknown error " + DecimalText(code), Icon::Exclamation,
                      u"Error");
  // Other small codes are Win32 errors already; negatives mean nothing.
  return code > 0 ? static_cast<std::uint32_t>(code) : kErrorGenFailure;
}

}  // namespace tolvu
