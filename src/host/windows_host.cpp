#include "host/windows_host.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <aclapi.h>
#include <sddl.h>
#include <shellapi.h>
#include <winnetwk.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "host/command_text.h"
#include "host/files.h"
#include "host/unseen_box.h"

namespace tolvu {
namespace {

std::wstring Wide(const std::u16string& text) {
  return std::wstring(text.begin(), text.end());
}

std::u16string Utf16(const wchar_t* text, std::size_t length) {
  return std::u16string(text, text + length);
}

// The predefined roots are 32-bit values sign-extended into a handle.
HKEY RootHandle(std::uint32_t root) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

HKEY KeyHandle(HostKey key) { return reinterpret_cast<HKEY>(key); }

// Registry calls return their Win32 error as a LONG, never negative.
std::uint32_t Status(LONG status) { return static_cast<std::uint32_t>(status); }

// The opened key on success; on failure no handle, whatever the call left.
std::uint32_t KeyOrNothing(LONG status, HKEY handle, HostKey* key) {
  *key = status == ERROR_SUCCESS ? reinterpret_cast<HostKey>(handle) : 0;
  return Status(status);
}

// An existing file opened for reading or writing, as far as the programs
// that have it open allow: they may go on reading, writing and deleting it.
HANDLE OpenShared(const std::u16string& name, DWORD access) {
  return CreateFileW(Wide(name).c_str(), access,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// What reading a key back needs, and no more (the seam says why).
constexpr REGSAM kReadBackAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;

// The longest path Windows takes, in characters, with room for its end.
constexpr DWORD kLongestPath = 32768;

// The longest account or domain name, with room for its end.
constexpr DWORD kMaxAccountName = 257;

// SE_ERR_DLLNOTFOUND, the launch result when shell32 itself is missing.
constexpr std::int32_t kShellDllNotFound = 32;

// user32 and shell32 are loaded only when a box or a launch needs them: the
// silent add and remove runs then never pay for their start-up.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) {
    module = LoadLibraryW(dll);  // systems without the search flags
  }
  if (module == nullptr) {
    return nullptr;
  }
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

UINT IconFlag(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return MB_ICONINFORMATION;
    case Icon::Exclamation:
      return MB_ICONEXCLAMATION;
    case Icon::None:
      break;
  }
  return 0;
}

// Whether a user can see this process's boxes. Services, deployment agents
// and tasks run as SYSTEM get a window station without WSF_VISIBLE, where a
// modal box would wait forever. When the answer cannot be had, the box is
// shown as it always was.
bool StationVisible() {
  using GetStationFunction = HWINSTA(WINAPI*)();
  using GetInformationFunction =
      BOOL(WINAPI*)(HANDLE, int, PVOID, DWORD, LPDWORD);
  const auto getStation = SystemFunction<GetStationFunction>(
      L"user32.dll", "GetProcessWindowStation");
  const auto getInformation = SystemFunction<GetInformationFunction>(
      L"user32.dll", "GetUserObjectInformationW");
  if (getStation == nullptr || getInformation == nullptr) {
    return true;
  }
  HWINSTA station = getStation();
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  if (station == nullptr || getInformation(station, UOI_FLAGS, &flags,
                                           sizeof(flags), &needed) == FALSE) {
    return true;
  }
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

// Writes everything to standard error, when the process has one.
void WriteStandardError(const std::string& bytes) {
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error == nullptr || error == INVALID_HANDLE_VALUE) {
    return;
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    DWORD count = 0;
    if (WriteFile(error, bytes.data() + written,
                  static_cast<DWORD>(bytes.size() - written), &count,
                  nullptr) == FALSE ||
        count == 0) {
      return;
    }
    written += count;
  }
}

// The text in the code page, or nothing when a character has no exact
// representation there.
std::optional<std::string> InCodePage(UINT codePage,
                                      const std::u16string& text) {
  if (text.empty()) {
    return std::string();
  }
  const std::wstring wide = Wide(text);
  const int length = static_cast<int>(wide.size());
  // UTF-8 takes neither flag nor default character; it refuses lone
  // surrogates instead.
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
  const int size = WideCharToMultiByte(codePage, flags, wide.data(), length,
                                       nullptr, 0, nullptr, usedDefaultOut);
  if (size <= 0 || usedDefault != FALSE) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(codePage, flags, wide.data(), length, bytes.data(),
                          size, nullptr, usedDefaultOut) != size ||
      usedDefault != FALSE) {
    return std::nullopt;
  }
  return bytes;
}

// The ANSI code page of the system's locale, the one programs that declare
// none get; GetACP() gives this process's, UTF-8 by its manifest.
// GetLocaleInfoEx with LOCALE_NAME_SYSTEM_DEFAULT fails under Wine.
UINT SystemCodePage() {
  DWORD codePage = 0;
  if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT,
                     LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPWSTR>(&codePage),
                     sizeof(codePage) / sizeof(wchar_t)) == 0 ||
      codePage == 0) {
    return GetACP();
  }
  return codePage;
}

// The SID in its text form ("S-1-5-18"); empty when it has none.
std::u16string SidText(PSID sid) {
  LPWSTR text = nullptr;
  if (sid == nullptr || ConvertSidToStringSidW(sid, &text) == FALSE) {
    return std::u16string();
  }
  std::u16string result = Utf16(text, wcslen(text));
  LocalFree(text);
  return result;
}

// The account this process runs as, as a SID text; empty when unknown.
std::u16string RunningSid() {
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) {
    return std::u16string();
  }
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<DWORD> user(size / sizeof(DWORD) + 1);
  std::u16string sid;
  if (GetTokenInformation(token, TokenUser, user.data(), size, &size) !=
      FALSE) {
    sid = SidText(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
  }
  CloseHandle(token);
  return sid;
}

// DOMAIN\name, or the SID where the account has no name.
std::u16string AccountName(PSID sid) {
  std::wstring name(kMaxAccountName, L'\0');
  std::wstring domain(kMaxAccountName, L'\0');
  DWORD nameSize = kMaxAccountName;
  DWORD domainSize = kMaxAccountName;
  SID_NAME_USE use{};
  if (sid == nullptr ||
      LookupAccountSidW(nullptr, sid, name.data(), &nameSize, domain.data(),
                        &domainSize, &use) == FALSE) {
    return SidText(sid);
  }
  const std::u16string account = Utf16(name.data(), nameSize);
  return domainSize == 0 ? account
                         : Utf16(domain.data(), domainSize) + u"\\" + account;
}

// The list's own entries, in *entries: those it inherited are left out,
// which its folder gives a new file beside it again.
bool OwnEntries(PACL list, std::vector<DWORD>* entries) {
  ACL_SIZE_INFORMATION size{};
  if (GetAclInformation(list, &size, sizeof(size), AclSizeInformation) ==
      FALSE) {
    return false;
  }
  entries->assign(list->AclSize / sizeof(DWORD) + 1, 0);
  auto* const own = reinterpret_cast<PACL>(entries->data());
  if (InitializeAcl(own, list->AclSize, list->AclRevision) == FALSE) {
    return false;
  }
  for (DWORD i = 0; i < size.AceCount; ++i) {
    ACE_HEADER* entry = nullptr;
    if (GetAce(list, i, reinterpret_cast<void**>(&entry)) == FALSE ||
        ((entry->AceFlags & INHERITED_ACE) == 0 &&
         AddAce(own, list->AclRevision, MAXDWORD, entry, entry->AceSize) ==
             FALSE)) {
      return false;
    }
  }
  return true;
}

// Whether the name opens something that is no file on a disk: COM1.reg is
// the port, which a creation may find taken or busy.
bool OpensADevice(const std::wstring& name) {
  HANDLE found = CreateFileW(
      name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, 0, nullptr);
  if (found == INVALID_HANDLE_VALUE) {
    return false;
  }
  const bool device = GetFileType(found) != FILE_TYPE_DISK;
  CloseHandle(found);
  return device;
}

// Whether the file's access list keeps this account from what an export
// does with it later: reading it, the flush's writing, the rename's and the
// clean-up's deleting. A handle that made a file has the access it asked
// for, whatever the list; a new open is checked against it.
bool LockedOut(const std::u16string& name) {
  HANDLE again = OpenShared(name, GENERIC_READ | GENERIC_WRITE | DELETE);
  if (again == INVALID_HANDLE_VALUE) {
    return GetLastError() == ERROR_ACCESS_DENIED;
  }
  CloseHandle(again);
  return false;
}

// Reads the owner and the access list of `like` in one read; when the owner
// is one to trust, makes *descriptor a descriptor for a new file with that
// list (in *entries) and its protection, and sets *made. Otherwise 1307 and
// *owner named. A file system without owners (FAT) gives none, nor does a
// device: nothing is made then.
DWORD DescriptorLike(const std::u16string& like,
                     SECURITY_DESCRIPTOR* descriptor,
                     std::vector<DWORD>* entries, std::u16string* owner,
                     bool* made) {
  std::wstring wide = Wide(like);
  PSID ownerSid = nullptr;
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR read = nullptr;
  DWORD error = GetNamedSecurityInfoW(
      wide.data(), SE_FILE_OBJECT,
      OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &ownerSid,
      nullptr, &list, nullptr, &read);
  if (error != ERROR_SUCCESS) {
    return error;
  }
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (ownerSid == nullptr) {
    *made = false;
  } else if (!TrustedOwner(SidText(ownerSid), RunningSid())) {
    *owner = AccountName(ownerSid);
    error = ERROR_INVALID_OWNER;
  } else if (GetSecurityDescriptorControl(read, &control, &revision) == FALSE ||
             InitializeSecurityDescriptor(
                 descriptor, SECURITY_DESCRIPTOR_REVISION) == FALSE ||
             (list != nullptr && !OwnEntries(list, entries)) ||
             SetSecurityDescriptorDacl(
                 descriptor, TRUE,
                 list == nullptr ? nullptr
                                 : reinterpret_cast<PACL>(entries->data()),
                 FALSE) == FALSE ||
             SetSecurityDescriptorControl(
                 descriptor, SE_DACL_PROTECTED,
                 static_cast<SECURITY_DESCRIPTOR_CONTROL>(
                     control & SE_DACL_PROTECTED)) == FALSE) {
    error = GetLastError();
  }
  LocalFree(read);
  return error;
}

}  // namespace

std::u16string WindowsHost::CommandText() {
  const wchar_t* line = GetCommandLineW();
  return TextAfterProgramName(Utf16(line, wcslen(line)));
}

void WindowsHost::ShowMessageBox(const std::u16string& text, Icon icon,
                                 const std::u16string& title) {
  using MessageBoxFunction = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
  const auto messageBox =
      SystemFunction<MessageBoxFunction>(L"user32.dll", "MessageBoxW");
  if (messageBox == nullptr) {
    return;
  }
  // Nobody could answer the box: report it where a log may catch it and go
  // on as if OK had been pressed.
  if (NobodySeesBoxes(*this)) {
    WriteStandardError(UnseenBoxText(title, text));
    return;
  }
  messageBox(nullptr, Wide(text).c_str(), Wide(title).c_str(),
             MB_OK | MB_SETFOREGROUND | IconFlag(icon));
}

std::uint32_t WindowsHost::FileAttributes(const std::u16string& name,
                                          std::uint32_t* attributes) {
  const DWORD found = GetFileAttributesW(Wide(name).c_str());
  if (found == INVALID_FILE_ATTRIBUTES) {
    return GetLastError();
  }
  *attributes = found;
  return ERROR_SUCCESS;
}

std::uint32_t WindowsHost::FileSize(const std::u16string& name,
                                    std::uint64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExW(Wide(name).c_str(), GetFileExInfoStandard, &data) ==
      FALSE) {
    return GetLastError();
  }
  *size = (std::uint64_t{data.nFileSizeHigh} << 32U) | data.nFileSizeLow;
  return ERROR_SUCCESS;
}

// The parameters are the seam's.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
std::uint32_t WindowsHost::CreateNewFile(const std::u16string& name,
                                         const std::u16string& like,
                                         std::u16string* owner) {
  SECURITY_DESCRIPTOR descriptor{};
  SECURITY_ATTRIBUTES security{sizeof(security), &descriptor, FALSE};
  std::vector<DWORD> entries;
  bool made = !like.empty();
  if (made) {
    const DWORD error =
        DescriptorLike(like, &descriptor, &entries, owner, &made);
    if (error != ERROR_SUCCESS) {
      return error;
    }
  }
  const std::wstring wide = Wide(name);
  // Shared, so that it can be opened again while this handle, which may
  // delete it whatever its access list says, is still open.
  HANDLE file = CreateFileW(
      wide.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      made ? &security : nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (OpensADevice(wide)) {
      return ERROR_BAD_DEVICE;
    }
    // A folder of that name is refused as access denied: the name is taken
    // all the same.
    const DWORD found = GetFileAttributesW(wide.c_str());
    return error == ERROR_ACCESS_DENIED && found != INVALID_FILE_ATTRIBUTES &&
                   (found & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? ERROR_FILE_EXISTS
               : error;
  }
  // NUL.reg and its like open the device and make no file.
  DWORD error =
      GetFileType(file) == FILE_TYPE_DISK ? ERROR_SUCCESS : ERROR_BAD_DEVICE;
  if (error == ERROR_SUCCESS && LockedOut(name)) {
    // One that cannot go is the caller's, as any other it made.
    FILE_DISPOSITION_INFO gone{TRUE};
    error = SetFileInformationByHandle(file, FileDispositionInfo, &gone,
                                       sizeof(gone)) != FALSE
                ? ERROR_CANT_ACCESS_FILE
                : ERROR_SUCCESS;
  }
  CloseHandle(file);
  return error;
}

std::uint32_t WindowsHost::RemoveFile(const std::u16string& name) {
  return DeleteFileW(Wide(name).c_str()) != FALSE ? ERROR_SUCCESS
                                                  : GetLastError();
}

std::uint32_t WindowsHost::RenameReplacing(const std::u16string& from,
                                           const std::u16string& to) {
  // MOVEFILE_WRITE_THROUGH makes the call return only once the rename is
  // done; it flushes data only where a move to another volume copies it.
  // Within a folder nothing is copied, so the caller flushes the file first.
  return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
                 FALSE
             ? ERROR_SUCCESS
             : GetLastError();
}

std::uint32_t WindowsHost::ReadFileBytes(const std::u16string& name,
                                         FileRange range, std::string* bytes) {
  HANDLE file = OpenShared(name, GENERIC_READ);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A folder does not open as a file: access is denied, all the same.
    const DWORD found = GetFileAttributesW(Wide(name).c_str());
    return error == ERROR_ACCESS_DENIED && found != INVALID_FILE_ATTRIBUTES &&
                   (found & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? ERROR_FILE_NOT_FOUND
               : error;
  }
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(range.offset);
  LARGE_INTEGER size{};
  DWORD error = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != FALSE
                    ? ERROR_SUCCESS
                    : GetLastError();
  // In pieces, into room for what the file has, not for all that the count
  // may ask.
  std::string buffer;
  if (GetFileSizeEx(file, &size) != FALSE && size.QuadPart > at.QuadPart) {
    buffer.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(
        static_cast<std::uint64_t>(size.QuadPart - at.QuadPart), range.count)));
  }
  std::vector<char> piece(std::size_t{1} << 16U);
  while (error == ERROR_SUCCESS && buffer.size() < range.count) {
    DWORD read = 0;
    if (ReadFile(file, piece.data(),
                 static_cast<DWORD>(
                     std::min(piece.size(), range.count - buffer.size())),
                 &read, nullptr) == FALSE) {
      error = GetLastError();
    } else if (read == 0) {
      break;  // the end of the file
    }
    buffer.append(piece.data(), read);
  }
  CloseHandle(file);
  if (error == ERROR_SUCCESS) {
    *bytes = std::move(buffer);
  }
  return error;
}

std::uint32_t WindowsHost::FlushFile(const std::u16string& name) {
  HANDLE file = OpenShared(name, GENERIC_WRITE);
  if (file == INVALID_HANDLE_VALUE) {
    return GetLastError();
  }
  const DWORD error =
      FlushFileBuffers(file) != FALSE ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  return error;
}

std::uint32_t WindowsHost::ProcessId() { return GetCurrentProcessId(); }

void WindowsHost::Pause(std::chrono::milliseconds time) {
  Sleep(static_cast<DWORD>(time.count()));
}

bool WindowsHost::WindowStationVisible() { return StationVisible(); }

std::uint32_t WindowsHost::SessionId() {
  DWORD session = 0;
  return ProcessIdToSessionId(GetCurrentProcessId(), &session) != FALSE
             ? session
             : 1;
}

std::optional<std::string> WindowsHost::ToAnsi(const std::u16string& text) {
  return InCodePage(GetACP(), text);
}

std::optional<std::string> WindowsHost::ToSystemCodePage(
    const std::u16string& text) {
  return InCodePage(SystemCodePage(), text);
}

std::u16string WindowsHost::FromSystemCodePage(const std::string& bytes) {
  const UINT codePage = SystemCodePage();
  std::u16string text;
  // MultiByteToWideChar takes an int length: longer bytes go in pieces,
  // none ending in the lead byte of a two-byte character.
  constexpr std::size_t kPiece = std::size_t{1} << 30U;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t count = std::min(bytes.size() - at, kPiece);
    if (at + count < bytes.size() &&
        IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[at + count - 1])) !=
            FALSE) {
      --count;
    }
    const int length = static_cast<int>(count);
    const int size =
        MultiByteToWideChar(codePage, 0, bytes.data() + at, length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data() + at, length, wide.data(),
                        size);
    text += Utf16(wide.data(), wide.size());
    at += count;
  }
  return text;
}

std::u16string WindowsHost::UpperCase(const std::u16string& text) {
  // Without LCMAP_LINGUISTIC_CASING this is the system's simple case
  // mapping, the one the registry's own comparison uses; the invariant
  // locale keeps the user's out of it. Should it fail, the text stays.
  std::wstring upper = Wide(text);
  if (!upper.empty() && upper.size() <= INT_MAX) {
    const int length = static_cast<int>(upper.size());
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, Wide(text).c_str(),
                  length, upper.data(), length, nullptr, nullptr, 0);
  }
  return Utf16(upper.data(), upper.size());
}

std::uint32_t WindowsHost::FullPathName(const std::u16string& name,
                                        std::u16string* fullPath) {
  const std::wstring wide = Wide(name);
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()),
                         buffer.data(), nullptr);
    if (length == 0) {
      return GetLastError();
    }
    if (length < buffer.size()) {
      *fullPath = Utf16(buffer.data(), length);
      return ERROR_SUCCESS;
    }
    buffer.resize(length);  // the size it needs, its closing zero included
  }
}

std::u16string WindowsHost::WindowsDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  UINT length = GetWindowsDirectoryW(buffer.data(), MAX_PATH);
  if (length >= MAX_PATH) {
    buffer.resize(length);
    length = GetWindowsDirectoryW(buffer.data(), length);
  }
  return Utf16(buffer.data(), length);
}

std::uint32_t WindowsHost::QueryDosDeviceW(const std::u16string& drive,
                                           std::u16string* target) {
  // Room for the longest path a name can stand for.
  std::wstring buffer(kLongestPath, L'\0');
  if (::QueryDosDeviceW(Wide(drive).c_str(), buffer.data(), kLongestPath) ==
      0) {
    return GetLastError();
  }
  *target = Utf16(buffer.data(), wcslen(buffer.data()));  // its first name
  return ERROR_SUCCESS;
}

std::uint32_t WindowsHost::NetworkPath(const std::u16string& fullPath,
                                       std::u16string* networkPath) {
  // Only a network drive is worth asking mpr.dll, and its providers, about.
  const std::wstring wide = Wide(fullPath);
  if (GetDriveTypeW(wide.substr(0, 3).c_str()) != DRIVE_REMOTE) {
    return ERROR_NOT_CONNECTED;
  }
  using UniversalNameFunction = DWORD(WINAPI*)(LPCWSTR, DWORD, LPVOID, LPDWORD);
  const auto universalName = SystemFunction<UniversalNameFunction>(
      L"mpr.dll", "WNetGetUniversalNameW");
  if (universalName == nullptr) {
    return ERROR_DLL_NOT_FOUND;
  }
  // The structure, then the path it points to, in aligned words.
  std::vector<DWORD> buffer(
      (sizeof(UNIVERSAL_NAME_INFOW) + kLongestPath * sizeof(wchar_t)) /
          sizeof(DWORD) +
      1);
  auto size = static_cast<DWORD>(buffer.size() * sizeof(DWORD));
  const DWORD error = universalName(wide.c_str(), UNIVERSAL_NAME_INFO_LEVEL,
                                    buffer.data(), &size);
  if (error == NO_ERROR) {
    const wchar_t* path =
        reinterpret_cast<UNIVERSAL_NAME_INFOW*>(buffer.data())->lpUniversalName;
    *networkPath = Utf16(path, wcslen(path));
  }
  return error;
}

std::uint32_t WindowsHost::RegCreateKeyA(std::uint32_t root,
                                         const std::string& subKey,
                                         HostKey* key) {
  HKEY handle = nullptr;
  const LONG status =
      ::RegCreateKeyA(RootHandle(root), subKey.c_str(), &handle);
  return KeyOrNothing(status, handle, key);
}

std::uint32_t WindowsHost::RegOpenKeyA(std::uint32_t root,
                                       const std::string& subKey,
                                       HostKey* key) {
  HKEY handle = nullptr;
  const LONG status = ::RegOpenKeyA(RootHandle(root), subKey.c_str(), &handle);
  return KeyOrNothing(status, handle, key);
}

std::uint32_t WindowsHost::RegSetValueExA(
    HostKey key, const std::string& name, std::uint32_t type,
    const std::vector<std::uint8_t>& data) {
  return Status(::RegSetValueExA(KeyHandle(key), name.c_str(), 0, type,
                                 data.data(), static_cast<DWORD>(data.size())));
}

std::uint32_t WindowsHost::RegDeleteKeyA(std::uint32_t root,
                                         const std::string& subKey) {
  return Status(::RegDeleteKeyA(RootHandle(root), subKey.c_str()));
}

std::uint32_t WindowsHost::RegQueryInfoKeyA(HostKey key,
                                            std::uint32_t* subKeys) {
  DWORD count = 0;
  const LONG status = ::RegQueryInfoKeyA(
      KeyHandle(key), nullptr, nullptr, nullptr, &count, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) {
    *subKeys = count;
  }
  return Status(status);
}

std::uint32_t WindowsHost::RegDeleteValueA(HostKey key,
                                           const std::string& name) {
  return Status(::RegDeleteValueA(KeyHandle(key), name.c_str()));
}

std::uint32_t WindowsHost::RegOpenKeyExW(std::uint32_t root,
                                         const std::u16string& subKey,
                                         HostKey* key) {
  HKEY handle = nullptr;
  const LONG status = ::RegOpenKeyExW(RootHandle(root), Wide(subKey).c_str(), 0,
                                      kReadBackAccess, &handle);
  return KeyOrNothing(status, handle, key);
}

std::uint32_t WindowsHost::RegQueryValueExW(HostKey key,
                                            const std::u16string& name,
                                            std::uint32_t* type,
                                            std::vector<std::uint8_t>* data) {
  const std::wstring wide = Wide(name);
  std::vector<std::uint8_t> buffer(256);
  for (;;) {
    DWORD found = 0;
    auto size = static_cast<DWORD>(buffer.size());
    const LONG status = ::RegQueryValueExW(
        KeyHandle(key), wide.c_str(), nullptr, &found, buffer.data(), &size);
    if (status == ERROR_MORE_DATA) {
      buffer.resize(size);  // it may grow again before the next call
      continue;
    }
    if (status == ERROR_SUCCESS) {
      buffer.resize(size);
      *type = found;
      *data = std::move(buffer);
    }
    return Status(status);
  }
}

std::uint32_t WindowsHost::RegCloseKey(HostKey key) {
  return Status(::RegCloseKey(KeyHandle(key)));
}

Launched WindowsHost::ShellExecuteExA(const std::string& file,
                                      const std::string& parameters,
                                      int showMode) {
  using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
  const auto shellExecuteEx =
      SystemFunction<ShellExecuteExFunction>(L"shell32.dll", "ShellExecuteExA");
  if (shellExecuteEx == nullptr) {
    return Launched{kShellDllNotFound, 0};
  }
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = "open";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.c_str();
  info.nShow = showMode;
  const BOOL started = shellExecuteEx(&info);
  const DWORD lastError = started == FALSE ? GetLastError() : ERROR_SUCCESS;
  const auto code =
      static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(info.hInstApp));
  if (started == FALSE || !LaunchStarted(code)) {
    if (info.hProcess != nullptr) {
      CloseHandle(info.hProcess);
    }
    // A failure the shell gave no SE_ERR_* code for must still not read as
    // a start.
    return Launched{LaunchStarted(code) ? 0 : code, 0, lastError};
  }
  return Launched{code, reinterpret_cast<HostProcess>(info.hProcess)};
}

bool WindowsHost::WaitForProcess(HostProcess process,
                                 std::chrono::milliseconds timeout) {
  // INFINITE is the largest DWORD; a finite wait stays below it.
  const DWORD wait = timeout == kWaitForever
                         ? INFINITE
                         : static_cast<DWORD>(std::min<std::int64_t>(
                               timeout.count(), std::int64_t{INFINITE} - 1));
  return WaitForSingleObject(reinterpret_cast<HANDLE>(process), wait) !=
         WAIT_TIMEOUT;
}

bool WindowsHost::EndProcess(HostProcess process) {
  auto* const handle = reinterpret_cast<HANDLE>(process);
  // TerminateProcess only starts the ending; the wait sees it through. A
  // process that ended by itself meanwhile may refuse the call.
  if (TerminateProcess(handle, ERROR_TIMEOUT) == FALSE) {
    return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
  }
  return WaitForSingleObject(handle, INFINITE) == WAIT_OBJECT_0;
}

void WindowsHost::CloseProcess(HostProcess process) {
  CloseHandle(reinterpret_cast<HANDLE>(process));
}

}  // namespace tolvu
