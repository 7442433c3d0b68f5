// File-system helpers on top of the host: the attribute bits, waiting out a
// busy file, the owners an export may trust, the folder part of a name, and a
// path without this session's drive letters.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "host/host.h"
#include "host/status_codes.h"

namespace tolvu {

// FILE_ATTRIBUTE_* bits, as Windows gives them.
constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeSystem = 0x4;
constexpr std::uint32_t kAttributeDirectory = 0x10;

// What Windows answers while another program (a virus scanner, an indexer,
// a backup agent) has a file open for a moment, as they do right after a
// file is written.
inline bool Busy(std::uint32_t error) {
  return error == kErrorAccessDenied || error == kErrorSharingViolation ||
         error == kErrorLockViolation;
}

// How long a step on a busy file is tried again, and the pause between.
constexpr std::chrono::milliseconds kBusyWait{2000};
constexpr std::chrono::milliseconds kBusyPause{100};

// Runs a step on a file, which returns its Win32 error, again while the
// file is busy, for about kBusyWait on the host's clock. Returns the last
// error. A real refusal that reads as busy costs that wait and no more.
template <typename Step>
std::uint32_t WaitingOutBusy(Host& host, Step&& step) {
  std::uint32_t error = step();
  for (std::chrono::milliseconds waited{0}; Busy(error) && waited < kBusyWait;
       waited += kBusyPause) {
    host.Pause(kBusyPause);
    error = step();
  }
  return error;
}

// Whether a file owned by the account of that SID ("S-1-5-18") is one whose
// access list an export may take over: the account running it (of
// `runningSid`), SYSTEM, the Administrators group or TrustedInstaller own
// what users cannot plant. Anyone may create a file in a folder such as
// C:\Windows\Temp, with a list that lets everyone read it.
bool TrustedOwner(const std::u16string& ownerSid,
                  const std::u16string& runningSid);

// The folder part of a file name with its last separator ("C:\x\" of
// "C:\x\a.reg", "C:" of "C:a.reg"); empty for a name in the current folder.
std::u16string FolderOf(const std::u16string& fileName);

// The full path as another logon session names the same file: one elevated
// by User Account Control has none of this session's network drives and
// subst letters. A subst letter gives way to the folder it stands for, a
// network drive to its network path; what cannot be resolved stays as it
// is.
std::u16string PathForAnySession(Host& host, const std::u16string& fullPath);

}  // namespace tolvu
