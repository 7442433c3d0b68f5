// How the fuzzer's bytes become one run of the tool: the first byte picks
// the scripted launch result, which export target exists and how the rest
// is read; the rest is the command-line text.
//
// First byte:  bits 0-3  launch result (index into a table of codes; 33
//                        starts an editor that leaves its file empty)
//              bit 4     MyRegFile.reg is absent
//              bit 5     MyRegFile.reg is read-only
//              bit 6     a hidden window station, and an editor that runs
//                        past the unattended wait
//              bit 7     text is UTF-16LE (else one unit per byte, below)
// Byte text:   0x00-0x7F the ASCII character; 0x80-0x8F one of sixteen
//              awkward units (surrogates, characters outside Windows-1252,
//              blanks that are not U+0020); 0x90-0xFF that Latin-1 unit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "support/recording_host.h"

namespace tolvu {

struct FuzzRun {
  std::u16string commandText;
  std::int32_t launchResult = 42;
  bool exportTargetExists = true;
  bool exportTargetReadOnly = false;
  bool unattendedLongRun = false;
};

FuzzRun DecodeFuzzInput(const std::uint8_t* data, std::size_t size);

// The files and registry keys every run starts with: ordinary, read-only,
// hidden, system, locked and wildcard-named files, and a few keys with
// values, one of them with a sub key.
void ScriptHost(const FuzzRun& run, RecordingHost& host);

}  // namespace tolvu
