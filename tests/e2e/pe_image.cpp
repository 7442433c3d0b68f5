#include "pe_image.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <utility>

#include "work_files.h"

namespace tolvu_e2e {
namespace {

// Bounds-checked reads from the file's bytes.
class ImageBytes {
 public:
  explicit ImageBytes(std::vector<std::uint8_t> bytes)
      : bytes_(std::move(bytes)) {}

  template <typename T>
  bool Read(size_t offset, T* out) const {
    if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) {
      return false;
    }
    std::memcpy(out, bytes_.data() + offset, sizeof(T));
    return true;
  }

  std::optional<std::string> String(size_t offset) const {
    std::string text;
    for (size_t i = offset; i < bytes_.size(); ++i) {
      if (bytes_[i] == 0) {
        return text;
      }
      text.push_back(static_cast<char>(bytes_[i]));
    }
    return std::nullopt;
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

struct Layout {
  size_t sectionTable = 0;
  WORD sectionCount = 0;
};

// The file offset of a relative virtual address, through the section table.
std::optional<size_t> FileOffset(const ImageBytes& image, const Layout& layout,
                                 DWORD rva) {
  for (WORD i = 0; i < layout.sectionCount; ++i) {
    IMAGE_SECTION_HEADER section;
    if (!image.Read(layout.sectionTable + i * sizeof(section), &section)) {
      return std::nullopt;
    }
    const DWORD size =
        std::max(section.Misc.VirtualSize, section.SizeOfRawData);
    if (rva >= section.VirtualAddress && rva - section.VirtualAddress < size) {
      return static_cast<size_t>(rva - section.VirtualAddress) +
             section.PointerToRawData;
    }
  }
  return std::nullopt;
}

// The DLL names of a table of descriptors whose name field is at
// `nameOffset`; the table ends at the first all-zero descriptor.
template <typename Descriptor>
bool ReadDllNames(const ImageBytes& image, const Layout& layout,
                  const IMAGE_DATA_DIRECTORY& directory,
                  DWORD Descriptor::*nameField, std::vector<std::string>* names,
                  std::string* error) {
  if (directory.VirtualAddress == 0) {
    return true;
  }
  const auto table = FileOffset(image, layout, directory.VirtualAddress);
  if (!table) {
    *error = "an import table lies outside every section";
    return false;
  }
  for (size_t at = *table;; at += sizeof(Descriptor)) {
    Descriptor descriptor{};
    if (!image.Read(at, &descriptor)) {
      *error = "an import table runs past the end of the file";
      return false;
    }
    const Descriptor zero{};
    if (std::memcmp(&descriptor, &zero, sizeof(Descriptor)) == 0) {
      return true;
    }
    const auto nameAt = FileOffset(image, layout, descriptor.*nameField);
    const auto name = nameAt ? image.String(*nameAt) : std::nullopt;
    if (!name) {
      *error = "an imported DLL name cannot be read";
      return false;
    }
    names->push_back(*name);
  }
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
  auto bytes = ReadFileBytes(path);
  if (!bytes) {
    *error = "cannot read the file";
    return std::nullopt;
  }
  const ImageBytes image(std::move(*bytes));
  IMAGE_DOS_HEADER dos;
  if (!image.Read(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) {
    *error = "no MZ header";
    return std::nullopt;
  }
  IMAGE_NT_HEADERS64 nt;
  if (!image.Read(static_cast<size_t>(dos.e_lfanew), &nt) ||
      nt.Signature != IMAGE_NT_SIGNATURE) {
    *error = "no PE header";
    return std::nullopt;
  }
  PeSummary summary;
  summary.machine = nt.FileHeader.Machine;
  summary.optionalMagic = nt.OptionalHeader.Magic;
  if (summary.optionalMagic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    *error = "not a PE32+ (64-bit) image";
    return std::nullopt;
  }
  summary.subsystem = nt.OptionalHeader.Subsystem;
  summary.dllCharacteristics = nt.OptionalHeader.DllCharacteristics;
  Layout layout;
  layout.sectionTable = static_cast<size_t>(dos.e_lfanew) +
                        offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                        nt.FileHeader.SizeOfOptionalHeader;
  layout.sectionCount = nt.FileHeader.NumberOfSections;
  const auto& directories = nt.OptionalHeader.DataDirectory;
  if (!ReadDllNames(image, layout, directories[IMAGE_DIRECTORY_ENTRY_IMPORT],
                    &IMAGE_IMPORT_DESCRIPTOR::Name, &summary.imports, error) ||
      !ReadDllNames(image, layout,
                    directories[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT],
                    &IMAGE_DELAYLOAD_DESCRIPTOR::DllNameRVA,
                    &summary.delayImports, error)) {
    return std::nullopt;
  }
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
