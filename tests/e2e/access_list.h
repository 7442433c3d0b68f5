// Access lists of files: set as an administrator locks a file down, and
// read back entry by entry.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tolvu_e2e {

// Wine keeps no access lists on files: it accepts one and changes nothing.
bool RunningUnderWine();

// Gives the file an access list of its own, inheriting nothing from its
// folder: full control for Administrators and for the account running the
// driver (which must remove it again), no access for anyone else.
bool LockDownToAdministrators(const std::wstring& path);

// Whether the file's list is protected from inheritance, then each entry
// as type, flags, access mask and account (SID); nothing when it cannot be
// read.
std::optional<std::vector<std::wstring>> AccessListEntries(
    const std::wstring& path);

}  // namespace tolvu_e2e
