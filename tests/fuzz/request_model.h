// What the fuzzer expects a command line to ask of the tool, from a small
// model of the tool's rules written out again: the splitting, the command,
// the root-key and data-type tables, the requests answered by the usage box,
// the file names, the export's new file and the boxes. It shares no code
// with the tool, so that a fault in the tool's reading shows as a
// difference instead of being expected too.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/recording_host.h"

namespace tolvu {

// The registry type codes of the type names the tool knows.
constexpr std::uint32_t kRegSzCode = 1;
constexpr std::uint32_t kRegBinaryCode = 3;
constexpr std::uint32_t kRegDwordCode = 4;

struct ExpectedRequest {
  std::u16string command;  // argument 1 in lower case
  // Answered by the usage box alone: an unknown command, type or root key,
  // or an import or export file name that does not end in .reg.
  bool refused = false;
  std::uint32_t root = 0;      // 0 for no root key
  std::u16string subKey;       // argument 2 after its first backslash, unquoted
  std::u16string registryKey;  // the sub key the registry calls name
  std::uint32_t dataType = kRegSzCode;
  std::u16string fileName;  // of an import or export the tool takes
};

ExpectedRequest ExpectRequest(const std::u16string& commandText);

// What the registry editor reads from its command line for the request, in
// UTF-8 as the launch takes it; empty when the request launches nothing.
// An export's new file is named after the files there before the run.
// `fullPath` resolves a file name as the platform does.
std::vector<std::string> ExpectedEditorArguments(
    const ExpectedRequest& request,
    const std::map<std::u16string, TestFile>& filesBefore,
    std::uint32_t processId,
    const std::function<std::u16string(const std::u16string&)>& fullPath);

// Whether the editor would take the bytes as a registry file: UTF-16LE with
// its byte-order mark, or 8-bit text, whose first line, after blanks, is
// one of the two headers exactly.
bool IsRegistryFileText(const std::string& bytes);

enum class BoxKind { Usage, Description, LaunchError, Unknown };

BoxKind KindOfBox(const ShownBox& box);

}  // namespace tolvu
