// Reads what a program file declares about itself: its headers, the DLLs it
// imports, its manifest and its version resource.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tolvu_e2e {

struct PeSummary {
  WORD machine = 0;                       // IMAGE_FILE_MACHINE_*
  WORD subsystem = 0;                     // IMAGE_SUBSYSTEM_*
  WORD dllCharacteristics = 0;            // IMAGE_DLLCHARACTERISTICS_*
  std::vector<std::string> imports;       // DLL names as written in the file
  std::vector<std::string> delayImports;  // loaded on first use
  std::string manifest;                   // its manifest resource, as written
};

// The summary of a 64-bit (PE32+) image file, or nothing with `error` set.
std::optional<PeSummary> ReadPeSummary(const std::wstring& path,
                                       std::string* error);

struct VersionInfo {
  WORD fileVersion[4] = {};  // from the fixed part, major first
  std::wstring fileVersionText;
  std::wstring productName;
};

// The version resource of a file, or nothing when it has none.
std::optional<VersionInfo> ReadVersionInfo(const std::wstring& path);

}  // namespace tolvu_e2e
