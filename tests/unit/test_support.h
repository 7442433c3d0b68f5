// Running the tool on the recording host, for the unit tests.
#pragma once

#include <cstdint>
#include <string>

#include "cli/main_flow.h"
#include "support/recording_host.h"

namespace tolvu {

constexpr std::uint32_t kTestHklm = 0x80000002;
constexpr std::uint32_t kTestHkcu = 0x80000001;

inline std::uint32_t RunCommand(RecordingHost& host,
                                const std::u16string& text) {
  host.commandText = text;
  return RunTolvu(host);
}

// A registry file as the editor writes it, with the body after its header.
inline TestFile ImportableFile(const std::u16string& body = u"") {
  return TestFile{
      0, 0, 0,
      Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n" + body)};
}

inline std::vector<std::uint8_t> ByteVector(const std::string& bytes) {
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace tolvu
