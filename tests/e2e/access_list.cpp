#include "access_list.h"

#include <windows.h>
// After windows.h, which they build on.
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <vector>

namespace tolvu_e2e {
namespace {

// The SID of the account this process runs as, as text; empty when it
// cannot be had.
std::wstring ProcessUserSid() {
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) {
    return L"";
  }
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  LPWSTR text = nullptr;
  std::wstring sid;
  if (size != 0 &&
      GetTokenInformation(token, TokenUser, user.data(), size, &size) != 0 &&
      ConvertSidToStringSidW(
          reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text) != 0) {
    sid = text;
    LocalFree(text);
  }
  CloseHandle(token);
  return sid;
}

}  // namespace

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr &&
         GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool LockDownToAdministrators(const std::wstring& path) {
  const std::wstring user = ProcessUserSid();
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (user.empty() || ConvertStringSecurityDescriptorToSecurityDescriptorW(
                          (L"D:P(A;;FA;;;BA)(A;;FA;;;" + user + L")").c_str(),
                          SDDL_REVISION_1, &descriptor, nullptr) == FALSE) {
    return false;
  }
  const bool set = SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION,
                                    descriptor) != FALSE;
  LocalFree(descriptor);
  return set;
}

std::optional<AccessList> FileAccessList(const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  std::wstring name = path;
  if (GetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT,
                            DACL_SECURITY_INFORMATION, nullptr, nullptr,
                            nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  LPWSTR text = nullptr;
  std::optional<AccessList> list;
  if (ConvertSecurityDescriptorToStringSecurityDescriptorW(
          descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text,
          nullptr) != FALSE) {
    // "D:", the list's flags (P, AI, AR), then its entries.
    const std::wstring sddl = text;
    const std::size_t entries = std::min(sddl.find(L'('), sddl.size());
    const std::wstring flags = sddl.substr(0, entries);
    list = AccessList{flags.find(L'P') != std::wstring::npos,
                      sddl.substr(entries)};
    LocalFree(text);
  }
  LocalFree(descriptor);
  return list;
}

}  // namespace tolvu_e2e
