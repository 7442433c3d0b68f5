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

// The one that stands for the Win32 error.
const LaunchFailure* FailureOfError(std::uint32_t error) {
  for (const LaunchFailure& failure : kLaunchFailures) {
    if (failure.status == error) {
      return &failure;
    }
  }
  return nullptr;
}

constexpr const char16_t* kBlockedByPolicy =
    u"A policy blocks the registry editor (AppLocker, Windows Defender "
    u"Application Control or a software restriction policy).";

// Last errors whose SE_ERR_* code ("File access denied", or none) would
// tell another story.
struct LaunchRefusal {
  std::uint32_t error;
  const char16_t* message;
};

constexpr LaunchRefusal kLaunchRefusals[] = {
    {kErrorCancelled,
     u"The registry editor was not allowed to run: elevation was declined."},
    {kErrorAppHelpBlock, kBlockedByPolicy},
    {kErrorAccessDisabledByPolicy, kBlockedByPolicy},
    {kErrorSystemIntegrityPolicyViolation, kBlockedByPolicy},
};

// What the box says of a failed launch.
std::u16string LaunchFailureText(const Launched& launched) {
  const std::uint32_t error = launched.lastError;
  for (const LaunchRefusal& refusal : kLaunchRefusals) {
    if (refusal.error == error) {
      return refusal.message;
    }
  }
  // Code 0 is no reason of the shell's: the call's own error is.
  const bool byError = launched.code == 0 && error != kSuccess;
  const LaunchFailure* failure =
      byError ? FailureOfError(error) : FindLaunchFailure(launched.code);
  if (failure != nullptr) {
    return failure->message;
  }
  return u"Unknown error " +
         (byError ? DecimalText(error) : DecimalText(launched.code));
}

}  // namespace

std::uint32_t ReportLaunchResult(Host& host, const Launched& launched) {
  const std::int32_t code = launched.code;
  if (LaunchStarted(code)) {
    return kSuccess;
  }
  host.ShowMessageBox(LaunchFailureText(launched), Icon::Exclamation, u"Error");
  if (launched.lastError != kSuccess) {
    return launched.lastError;
  }
  if (const LaunchFailure* failure = FindLaunchFailure(code)) {
    return failure->status;
  }
  // Other small codes are Win32 errors already; negatives mean nothing.
  return code > 0 ? static_cast<std::uint32_t>(code) : kErrorGenFailure;
}

}  // namespace tolvu
