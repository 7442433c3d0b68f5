#include "access_list.h"

#include <windows.h>
// After windows.h, which they build on.
#include <aclapi.h>
#include <sddl.h>

#include <memory>

namespace tolvu_e2e {
namespace {

// The SID of the account this process runs as, in a buffer of its own.
std::vector<BYTE> ProcessUserSid() {
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) {
    return {};
  }
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  std::vector<BYTE> sid;
  if (size != 0 &&
      GetTokenInformation(token, TokenUser, user.data(), size, &size) != 0) {
    const PSID found = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    const auto* bytes = static_cast<const BYTE*>(found);
    sid.assign(bytes, bytes + GetLengthSid(found));
  }
  CloseHandle(token);
  return sid;
}

std::wstring SidText(PSID sid) {
  LPWSTR text = nullptr;
  if (ConvertSidToStringSidW(sid, &text) == FALSE) {
    return L"?";
  }
  std::wstring result = text;
  LocalFree(text);
  return result;
}

}  // namespace

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr &&
         GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool LockDownToAdministrators(const std::wstring& path) {
  std::vector<BYTE> user = ProcessUserSid();
  std::vector<BYTE> administrators(SECURITY_MAX_SID_SIZE);
  DWORD size = SECURITY_MAX_SID_SIZE;
  if (user.empty() ||
      CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr,
                         administrators.data(), &size) == FALSE) {
    return false;
  }
  const DWORD aclSize = sizeof(ACL) +
                        2 * (sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD)) +
                        GetLengthSid(user.data()) + size;
  std::vector<DWORD> acl((aclSize + sizeof(DWORD) - 1) / sizeof(DWORD));
  auto* list = reinterpret_cast<PACL>(acl.data());
  if (InitializeAcl(list, aclSize, ACL_REVISION) == FALSE ||
      AddAccessAllowedAce(list, ACL_REVISION, FILE_ALL_ACCESS,
                          administrators.data()) == FALSE ||
      AddAccessAllowedAce(list, ACL_REVISION, FILE_ALL_ACCESS, user.data()) ==
          FALSE) {
    return false;
  }
  std::wstring name = path;
  return SetNamedSecurityInfoW(
             name.data(), SE_FILE_OBJECT,
             DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
             nullptr, nullptr, list, nullptr) == ERROR_SUCCESS;
}

std::optional<std::vector<std::wstring>> AccessListEntries(
    const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PACL list = nullptr;
  std::wstring name = path;
  if (GetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT,
                            DACL_SECURITY_INFORMATION, nullptr, nullptr, &list,
                            nullptr, &descriptor) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::unique_ptr<void, decltype(&LocalFree)> owned(descriptor,
                                                          &LocalFree);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  std::vector<std::wstring> entries{
      (control & SE_DACL_PROTECTED) != 0 ? L"protected" : L"inherits"};
  for (DWORD i = 0; list != nullptr && i < list->AceCount; ++i) {
    void* entry = nullptr;
    if (GetAce(list, i, &entry) == FALSE) {
      return std::nullopt;
    }
    // Allowed and denied entries share this layout.
    auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    entries.push_back(std::to_wstring(ace->Header.AceType) + L" " +
                      std::to_wstring(ace->Header.AceFlags) + L" " +
                      std::to_wstring(ace->Mask) + L" " +
                      SidText(&ace->SidStart));
  }
  return entries;
}

}  // namespace tolvu_e2e
