#include "pe_image.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <utility>

namespace tolvu_e2e {
namespace {

// The DLL names of a table of descriptors in a mapped image, whose name
// field is `nameField`; the table ends at the first all-zero descriptor.
template <typename Descriptor>
std::vector<std::string> DllNames(const std::uint8_t* base,
                                  const IMAGE_DATA_DIRECTORY& directory,
                                  DWORD Descriptor::*nameField) {
  std::vector<std::string> names;
  if (directory.VirtualAddress == 0) {
    return names;
  }
  const Descriptor zero{};
  for (const auto* descriptor =
           reinterpret_cast<const Descriptor*>(base + directory.VirtualAddress);
       std::memcmp(descriptor, &zero, sizeof(Descriptor)) != 0; ++descriptor) {
    names.emplace_back(
        reinterpret_cast<const char*>(base + descriptor->*nameField));
  }
  return names;
}

// Four lower-case hexadecimal digits, as version resources name their blocks.
std::wstring Hex4(WORD number) {
  constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  for (int shift = 12; shift >= 0; shift -= 4) {
    text += kDigits[(number >> shift) & 0xFU];
  }
  return text;
}

std::optional<std::wstring> VersionString(const std::vector<std::uint8_t>& data,
                                          const wchar_t* name) {
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translations = nullptr;
  UINT size = 0;
  if ((VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translations), &size) == 0) ||
      size < sizeof(Translation)) {
    return std::nullopt;
  }
  const std::wstring query = L"\\StringFileInfo\\" +
                             Hex4(translations[0].language) +
                             Hex4(translations[0].codePage) + L"\\" + name;
  wchar_t* text = nullptr;
  if ((VerQueryValueW(data.data(), query.c_str(),
                      reinterpret_cast<void**>(&text), &size) == 0) ||
      text == nullptr) {
    return std::nullopt;
  }
  return std::wstring(text);
}

}  // namespace

std::optional<PeSummary> ReadPeSummary(const std::wstring& path,
                                       std::string* error) {
  // Mapped as an image, not run: addresses in the headers are offsets from
  // the base. The module handle's low bits only mark how it was loaded.
  HMODULE module =
      LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) {
    *error = "cannot map the file, error " + std::to_string(GetLastError());
    return std::nullopt;
  }
  const auto* base = reinterpret_cast<const std::uint8_t*>(
      reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  std::optional<PeSummary> summary;
  if (nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    *error = "not a PE32+ (64-bit) image";
  } else {
    summary.emplace();
    summary->machine = nt->FileHeader.Machine;
    summary->subsystem = nt->OptionalHeader.Subsystem;
    summary->dllCharacteristics = nt->OptionalHeader.DllCharacteristics;
    const auto& directories = nt->OptionalHeader.DataDirectory;
    summary->imports = DllNames(base, directories[IMAGE_DIRECTORY_ENTRY_IMPORT],
                                &IMAGE_IMPORT_DESCRIPTOR::Name);
    summary->delayImports =
        DllNames(base, directories[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT],
                 &IMAGE_DELAYLOAD_DESCRIPTOR::DllNameRVA);
    // The application manifest is resource 1 of its type.
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
      const auto* bytes =
          static_cast<const char*>(LockResource(LoadResource(module, found)));
      if (bytes != nullptr) {
        summary->manifest.assign(bytes, SizeofResource(module, found));
      }
    }
  }
  FreeLibrary(module);
  return summary;
}

std::optional<VersionInfo> ReadVersionInfo(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> data(size);
  if (GetFileVersionInfoW(path.c_str(), 0, size, data.data()) == 0) {
    return std::nullopt;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if ((VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed),
                      &fixedSize) == 0) ||
      fixedSize < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  VersionInfo info;
  info.fileVersion[0] = HIWORD(fixed->dwFileVersionMS);
  info.fileVersion[1] = LOWORD(fixed->dwFileVersionMS);
  info.fileVersion[2] = HIWORD(fixed->dwFileVersionLS);
  info.fileVersion[3] = LOWORD(fixed->dwFileVersionLS);
  info.fileVersionText = VersionString(data, L"FileVersion").value_or(L"");
  info.productName = VersionString(data, L"ProductName").value_or(L"");
  return info;
}

}  // namespace tolvu_e2e
