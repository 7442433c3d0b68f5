// How the fuzzer's bytes become one run of the tool: the first two bytes
// pick the scripted launch result, which export target exists, what the
// export's file meets and how the rest is read; the rest is the
// command-line text.
//
// First byte:  bits 0-3  launch result (index into a table of codes)
//              bit 4     MyRegFile.reg is absent
//              bit 5     MyRegFile.reg is read-only
//              bit 6     a hidden window station, and an editor that runs
//                        past the unattended wait
//              bit 7     text is UTF-16LE (else one unit per byte, below)
// Second byte: bits 0-1  what the editor writes into an export's file: a
//                        whole export, nothing, one cut off, one without
//                        the byte-order mark
//              bits 2-3  another program holds that file once written:
//                        not at all, for a second, for five, throughout
//              bit 4     no access list can be read
//              bit 5     MyRegFile.reg belongs to another account
//              bit 6     flushing a file fails
//              bit 7     the launch gives no process to wait for
// Byte text:   0x00-0x7F the ASCII character; 0x80-0x8F one of sixteen
//              awkward units (surrogates, characters outside Windows-1252,
//              blanks that are not U+0020); 0x90-0xFF that Latin-1 unit.
// A NUL (a zero unit in UTF-16) ends the command text: the bytes after it
// are MyRegFile.reg's content, the file an import reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "support/recording_host.h"

namespace tolvu {

enum class EditorOutput { Whole, Nothing, CutOff, NoByteOrderMark };

struct FuzzRun {
  std::u16string commandText;
  std::int32_t launchResult = 42;
  bool exportTargetExists = true;
  bool exportTargetReadOnly = false;
  bool unattendedLongRun = false;
  EditorOutput editorOutput = EditorOutput::Whole;
  std::uint64_t exportHeldMs = 0;  // kForever: throughout
  bool accessListUnreadable = false;
  bool exportTargetForeign = false;
  bool flushFails = false;
  bool launchGivesNoProcess = false;
  std::optional<std::string> importFile;  // MyRegFile.reg's bytes
};

// What holding the export's file, and failing to flush, fail with: no
// other file of the run answers so.
constexpr std::uint32_t kExportHeldError = 33;  // ERROR_LOCK_VIOLATION
constexpr std::uint32_t kFlushError = 1117;     // ERROR_IO_DEVICE

FuzzRun DecodeFuzzInput(const std::uint8_t* data, std::size_t size);

// The files and registry keys every run starts with: ordinary, read-only,
// hidden, system, locked and wildcard-named files, and a few keys with
// values, one of them with a sub key.
void ScriptHost(const FuzzRun& run, RecordingHost& host);

}  // namespace tolvu
