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

// The file's access list in the security descriptor language
// ("D:P(A;;FA;;;BA)...", P for protected from inheritance); nothing when it
// cannot be read.
std::optional<std::wstring> AccessListText(const std::wstring& path);

}  // namespace tolvu_e2e
