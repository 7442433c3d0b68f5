// Access lists of files: set as an administrator locks a file down, and
// read back.
#pragma once

#include <optional>
#include <string>

namespace tolvu_e2e {

// Wine keeps no access lists on files: it accepts one and changes nothing.
bool RunningUnderWine();

// Gives the file an access list of its own, inheriting nothing from its
// folder: full control for Administrators and for the account running the
// driver (which must remove it again), no access for anyone else.
bool LockDownToAdministrators(const std::wstring& path);

// A file's access list: whether it is protected from inheritance, and its
// entries in the security descriptor language ("(A;;FA;;;BA)..."). Its
// other flags are left out: Windows may mark a list it sets as
// auto-inherited (AI).
struct AccessList {
  bool isProtected = false;
  std::wstring entries;
};

inline bool operator==(const AccessList& a, const AccessList& b) {
  return a.isProtected == b.isProtected && a.entries == b.entries;
}

// Nothing when it cannot be read.
std::optional<AccessList> FileAccessList(const std::wstring& path);

}  // namespace tolvu_e2e
