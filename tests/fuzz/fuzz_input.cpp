#include "fuzz_input.h"

#include <limits>
#include <string>
#include <vector>

#include "host/status_codes.h"

namespace tolvu {
namespace {

constexpr std::uint8_t kLaunchResultBits = 0x0F;
constexpr std::uint8_t kExportTargetAbsentBit = 0x10;
constexpr std::uint8_t kExportTargetReadOnlyBit = 0x20;
constexpr std::uint8_t kUnattendedLongRunBit = 0x40;
constexpr std::uint8_t kUtf16Bit = 0x80;
constexpr std::uint8_t kEditorOutputBits = 0x03;
constexpr unsigned kHeldShift = 2;
constexpr std::uint8_t kAccessListUnreadableBit = 0x10;
constexpr std::uint8_t kExportTargetForeignBit = 0x20;
constexpr std::uint8_t kFlushFailsBit = 0x40;
constexpr std::uint8_t kNoProcessBit = 0x80;

constexpr std::uint64_t kHeldMs[4] = {0, 1000, 5000, kForever};

// Every message the launch can give, a success, and codes outside the table.
constexpr std::int32_t kLaunchResults[16] = {
    42, 33, 32, 31, 29, 27, 26, 11,
    8,  5,  3,  2,  0,  1,  -1, std::numeric_limits<std::int32_t>::min(),
};

constexpr char16_t kAwkwardUnits[16] = {
    0x20AC,  // euro sign: one byte in Windows-1252
    0x0100,  // not in Windows-1252
    0x4E2D,  // CJK, not in Windows-1252
    0xD83D,  // high surrogate
    0xDE00,  // low surrogate
    0x00A0,  // no-break space: not a separator here
    0x3000,  // ideographic space
    0x0000,  // NUL inside the text
    0xFFFD,  // replacement character
    0xFEFF,  // byte order mark
    0x0152,  // OE ligature: Windows-1252 0x8C
    0x0081,  // a byte Windows-1252 leaves undefined
    0xFF02,  // fullwidth quotation mark
    0xFF3C,  // fullwidth backslash
    0x000D,  // carriage return
    0x000A,  // line feed
};

TestValue Value(const char* name, std::uint32_t type,
                std::vector<std::uint8_t> data) {
  return TestValue{name, type, std::move(data)};
}

void AddValue(RecordingHost& host, std::uint32_t root,
              const std::string& subKey, const TestValue& value) {
  HostKey key = 0;
  if (host.RegCreateKeyA(root, subKey, &key) == 0) {
    host.RegSetValueExA(key, value.name, value.type, value.data);
    host.RegCloseKey(key);
  }
}

}  // namespace

FuzzRun DecodeFuzzInput(const std::uint8_t* data, std::size_t size) {
  FuzzRun run;
  if (size < 2) {
    return run;
  }
  const std::uint8_t control = data[0];
  run.launchResult = kLaunchResults[control & kLaunchResultBits];
  run.exportTargetExists = (control & kExportTargetAbsentBit) == 0;
  run.exportTargetReadOnly = (control & kExportTargetReadOnlyBit) != 0;
  run.unattendedLongRun = (control & kUnattendedLongRunBit) != 0;
  const std::uint8_t files = data[1];
  run.editorOutput = static_cast<EditorOutput>(files & kEditorOutputBits);
  run.exportHeldMs = kHeldMs[(files >> kHeldShift) & 3U];
  run.accessListUnreadable = (files & kAccessListUnreadableBit) != 0;
  run.exportTargetForeign = (files & kExportTargetForeignBit) != 0;
  run.flushFails = (files & kFlushFailsBit) != 0;
  run.launchGivesNoProcess = (files & kNoProcessBit) != 0;
  const auto fileFrom = [&](std::size_t at) {
    run.importFile =
        std::string(reinterpret_cast<const char*>(data) + at, size - at);
  };
  if ((control & kUtf16Bit) != 0) {
    for (std::size_t i = 2; i + 1 < size; i += 2) {
      const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8U));
      if (unit == 0) {
        fileFrom(i + 2);
        break;
      }
      run.commandText.push_back(unit);
    }
    return run;
  }
  for (std::size_t i = 2; i < size; ++i) {
    const std::uint8_t byte = data[i];
    if (byte == 0) {
      fileFrom(i + 1);
      break;
    }
    run.commandText.push_back(byte >= 0x80 && byte < 0x90
                                  ? kAwkwardUnits[byte - 0x80]
                                  : static_cast<char16_t>(byte));
  }
  return run;
}

void ScriptHost(const FuzzRun& run, RecordingHost& host) {
  host.commandText = run.commandText;
  host.editor.launchResult = run.launchResult;
  host.stationVisible = !run.unattendedLongRun;
  host.editor.runsMs = run.unattendedLongRun ? 3600000 : 1000;
  host.editor.givesProcess = !run.launchGivesNoProcess;
  const std::string whole = ExportedContent();
  switch (run.editorOutput) {
    case EditorOutput::Whole:
      host.editor.exportWritten.reset();  // of the key it is given
      break;
    case EditorOutput::Nothing:
      host.editor.exportWritten = "";
      break;
    case EditorOutput::CutOff:
      host.editor.exportWritten = whole.substr(0, whole.size() - 2);
      break;
    case EditorOutput::NoByteOrderMark:
      host.editor.exportWritten = whole.substr(2);
      break;
  }
  host.editor.exportHeldError = run.exportHeldMs == 0 ? 0 : kExportHeldError;
  host.editor.exportHeldMs = run.exportHeldMs;
  host.readAccessListError = run.accessListUnreadable ? kErrorAccessDenied : 0;
  host.flushError = run.flushFails ? kFlushError : 0;

  if (run.exportTargetExists) {
    host.files[u"MyRegFile.reg"] =
        TestFile{run.exportTargetReadOnly ? kAttributeReadOnly : 0U, 0, 0,
                 run.importFile.value_or("mine"), "Administrators only"};
    host.files[u"MyRegFile.reg"].owner =
        run.exportTargetForeign ? u"S-1-5-21-7-7-7-1003" : kTestAccount;
  }
  host.files[u"ReadOnly.reg"] = TestFile{kAttributeReadOnly, 0, 0, "ro"};
  host.files[u"Hidden.reg"] = TestFile{kAttributeHidden, 0, 0, "hidden"};
  host.files[u"System.reg"] = TestFile{kAttributeSystem, 0, 0, "system"};
  host.files[u"Folder.reg"] = TestFile{kAttributeDirectory, 0, 0, ""};
  host.files[u"Locked.reg"] = TestFile{0, 32, 0, "locked"};  // in use
  host.files[u"Far.reg"] = TestFile{0, 0, 53, "far"};  // network path gone
  host.files[u"*.reg"] = TestFile{0, 0, 0, "star"};
  host.files[u"My?.reg"] = TestFile{0, 0, 0, "question"};
  host.files[u"Caf\u00E9.reg"] = TestFile{0, 0, 0, "cafe"};
  host.files[u"a b.reg"] = TestFile{0, 0, 0, "blank"};
  // The first name for an export's new file, taken: never written over.
  host.files[u"MyRegFile.reg.tolvu-4242.reg"] = TestFile{0, 0, 0, "taken"};
  host.files[u"C:\\Temp"] = TestFile{kAttributeDirectory, 0, 0, ""};
  host.files[u"C:\\Temp\\Out.reg"] = TestFile{0, 0, 0, "temp"};

  constexpr std::uint32_t kHklm = 0x80000002;
  constexpr std::uint32_t kHkcu = 0x80000001;
  AddValue(host, kHklm, "Software\\MyKey",
           Value("MyDataName", 1, {'o', 'l', 'd', 0}));
  AddValue(host, kHklm, "Software\\MyKey", Value("Number", 4, {1, 0, 0, 0}));
  AddValue(host, kHklm, "Software\\My Key", Value("", 3, {0xAB}));
  host.AddKey(kHkcu, "Software\\Parent\\Child");
  host.calls.clear();
}

}  // namespace tolvu
