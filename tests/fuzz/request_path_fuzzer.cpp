// libFuzzer target: any command-line text, through splitting, request,
// route and operation, on the recording host. Besides the sanitizers'
// checks it aborts on any run that breaks what must hold for every command
// line: the boxes shown, the registry and process handles, the bytes
// written, the files kept and the exit status.
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/main_flow.h"
#include "cli/request.h"
#include "cli/root_keys.h"
#include "cli/split_command_line.h"
#include "cli/usage.h"
#include "fuzz_input.h"
#include "host/app_identity.h"
#include "host/status_codes.h"
#include "host/text.h"
#include "support/code_pages.h"
#include "support/recording_host.h"
#include "support/windows_arguments.h"

namespace tolvu {
namespace {

struct Outcome {
  const FuzzRun& run;
  const RecordingHost& host;
  std::uint32_t status;
};

[[noreturn]] void Broken(const char* what, const Outcome& out) {
  std::cerr << "broken: " << what << "\nexit status " << out.status << ", "
            << out.host.boxes.size() << " box(es)\n";
  for (const Launch& launch : out.host.launches) {
    std::cerr << "launch parameters (ANSI): " << launch.parameters << '\n';
  }
  std::cerr << "command text (UTF-16):" << std::hex << std::uppercase
            << std::setfill('0');
  for (const char16_t ch : out.run.commandText) {
    std::cerr << ' ' << std::setw(4) << static_cast<unsigned>(ch);
  }
  std::cerr << std::endl;
  std::abort();
}

void Require(bool holds, const char* what, const Outcome& out) {
  if (!holds) {
    Broken(what, out);
  }
}

enum class BoxKind { Usage, Description, LaunchError, Unknown };

BoxKind KindOf(const ShownBox& box) {
  if (box.icon == Icon::Information && box.title == WindowTitle() &&
      box.text == UsageText()) {
    return BoxKind::Usage;
  }
  if (box.icon == Icon::None && box.title == AppIdentity().title &&
      !box.text.empty()) {
    return BoxKind::Description;
  }
  if (box.icon == Icon::Exclamation && box.title == u"Error" &&
      !box.text.empty()) {
    return BoxKind::LaunchError;
  }
  return BoxKind::Unknown;
}

bool IsDeletion(const RecordedCall& call) {
  return call.call == RegistryCall::DeleteKey ||
         call.call == RegistryCall::DeleteValue;
}

// The tool reports a failed registry call through its exit status, except a
// failed close, which it does not examine.
bool IsReportedFailure(const RecordedCall& call) {
  return call.call != RegistryCall::CloseKey && call.status != 0;
}

// A key deletion the registry refused as access denied while the key has
// sub keys, which the tool reports as such. The recording registry keeps
// keys by root and upper-case path.
bool IsRefusedForSubKeys(const RecordingHost& host, const RecordedCall& call) {
  if (call.call != RegistryCall::DeleteKey ||
      call.status != kErrorAccessDenied) {
    return false;
  }
  std::string path = call.subKey;
  if (!path.empty() && path.back() == '\\') {
    path.pop_back();
  }
  for (char& ch : path) {
    ch = ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
  }
  const std::string prefix =
      RootText(call.root) + (path.empty() ? "" : "\\" + path) + "\\";
  const auto next = host.keys.lower_bound(prefix);
  return next != host.keys.end() && next->first.rfind(prefix, 0) == 0;
}

// Argument `n` as the tool's splitting gives it, empty when absent.
std::u16string Argument(const ArgumentArray& args, std::size_t n) {
  return n < args.size() ? args[n] : std::u16string();
}

void CheckBoxesAndStatus(const Outcome& out) {
  const std::vector<ShownBox>& boxes = out.host.boxes;
  Require(boxes.size() <= 2, "more than two boxes", out);
  std::vector<BoxKind> kinds;
  for (const ShownBox& box : boxes) {
    kinds.push_back(KindOf(box));
    Require(kinds.back() != BoxKind::Unknown, "a box of no known kind", out);
  }
  if (kinds.size() == 2) {
    Require(kinds[0] == BoxKind::Description && kinds[1] == BoxKind::Usage,
            "two boxes that are not a description then the usage", out);
  }
  bool usageShown = false;
  for (const BoxKind kind : kinds) {
    usageShown = usageShown || kind == BoxKind::Usage;
  }
  Require(usageShown == (out.status == kErrorInvalidCommandLine),
          "exit status 1639 without the usage box, or the reverse", out);

  const bool launchFailed =
      !out.host.launches.empty() && out.run.launchResult <= kLastLaunchFailure;
  Require(launchFailed == (kinds == std::vector<BoxKind>{BoxKind::LaunchError}),
          "a launch error box without a failed launch, or the reverse", out);

  const RecordedCall* lastFailure = nullptr;
  for (const RecordedCall& call : out.host.calls) {
    lastFailure = IsReportedFailure(call) ? &call : lastFailure;
  }
  Require((out.status == kSuccess) == (boxes.empty() && lastFailure == nullptr),
          "exit status 0 does not match a silent run with no registry failure",
          out);
  if (boxes.empty() && out.status != kSuccess) {
    Require(lastFailure != nullptr &&
                out.status == (IsRefusedForSubKeys(out.host, *lastFailure)
                                   ? kErrorKeyHasChildren
                                   : lastFailure->status),
            "a silent failure that is not the failing registry status", out);
  }
}

void CheckRegistry(const Outcome& out, const std::u16string& command,
                   const std::vector<std::string>& keysBefore) {
  const bool add = command == u"add" || command == u"create";
  const bool remove = command == u"remove" || command == u"delete";
  Require(out.host.badHandleUses == 0,
          "a registry call on a handle that is not open", out);
  Require(out.host.openKeys.empty(), "a registry key left open", out);
  // An export only opens its key, to see that it can be read.
  for (const RecordedCall& call : out.host.calls) {
    Require(add || remove ||
                (command == u"export" && (call.call == RegistryCall::OpenKey ||
                                          call.call == RegistryCall::CloseKey)),
            "a registry call that the command does not make", out);
  }

  std::vector<const RecordedCall*> writes;
  std::size_t deletions = 0;
  for (const RecordedCall& call : out.host.calls) {
    if (call.call == RegistryCall::SetValue) {
      writes.push_back(&call);
    }
    deletions += IsDeletion(call) ? 1 : 0;
  }
  Require(writes.size() <= 1, "more than one value written", out);
  Require(add || writes.empty(), "a value written by no add", out);
  for (const RecordedCall* write : writes) {
    Require(write->type == kRegSz || write->type == kRegBinary ||
                write->type == kRegDword,
            "a value of a type the tool does not write", out);
    Require(write->type != kRegDword || write->data.size() == 4,
            "a REG_DWORD value that is not exactly 4 bytes", out);
    Require(write->type != kRegSz ||
                (!write->data.empty() && write->data.back() == 0),
            "a REG_SZ value without its closing zero byte", out);
  }

  Require(deletions <= 1, "more than one registry deletion", out);
  Require(remove || deletions == 0, "a registry deletion by no remove", out);
  std::size_t keysGone = 0;
  for (const std::string& key : keysBefore) {
    keysGone += out.host.keys.count(key) == 0 ? 1 : 0;
  }
  Require(keysGone <= (remove ? 1U : 0U), "registry keys lost", out);
}

// The file a typed name means: the typed argument without its quotes.
std::u16string FileNamed(const std::u16string& typed) {
  std::u16string name;
  for (const char16_t ch : typed) {
    if (ch != u'"') {
      name.push_back(ch);
    }
  }
  return name;
}

// The file an export's editor writes: beside the target, with the run's
// process number, under the first such name no file had.
std::u16string NewFileOf(const std::u16string& target,
                         const std::map<std::u16string, TestFile>& before) {
  const std::u16string stem = target + u".tolvu-4242";
  std::u16string name = stem + u".reg";
  for (int n = 2; before.count(name) != 0; ++n) {
    name = stem + u"-" + DecimalText(n) + u".reg";
  }
  return name;
}

// The editor's arguments the request names, in the process code page
// (UTF-8) as the launch parameters are; nothing when one has no such text.
std::optional<std::vector<std::string>> ArgumentsNamed(
    const std::u16string& command, const ArgumentArray& args,
    const std::map<std::u16string, TestFile>& filesBefore) {
  std::vector<std::u16string> wanted;
  if (command == u"import") {
    wanted = {u"/s", FileNamed(Argument(args, 2))};
  } else if (command == u"export") {
    const std::optional<Request> request = ReadRequest(args);
    if (!request) {
      return std::nullopt;
    }
    wanted = {u"/e", NewFileOf(FileNamed(Argument(args, 3)), filesBefore),
              RootKeyName(request->root) + u"\\" + request->subKey};
  }
  std::vector<std::string> ansi;
  for (const std::u16string& text : wanted) {
    const std::optional<std::string> bytes = EncodeUtf8(text);
    if (!bytes) {
      return std::nullopt;
    }
    ansi.push_back(*bytes);
  }
  return ansi;
}

void CheckLaunchAndFiles(
    const Outcome& out, const std::u16string& command,
    const ArgumentArray& args,
    const std::map<std::u16string, TestFile>& filesBefore) {
  const std::vector<Launch>& launches = out.host.launches;
  Require(launches.size() <= 1, "more than one launch", out);
  for (const Launch& launch : launches) {
    Require(launch.file == "C:\\Windows\\regedit.exe" && launch.showMode == 0,
            "a launch of another program or a shown window", out);
    const std::optional<std::vector<std::string>> named =
        ArgumentsNamed(command, args, filesBefore);
    Require(named && !named->empty(), "a launch by no import or export", out);
    const std::vector<std::string> read = WindowsArguments(launch.parameters);
    Require(read == *named,
            "the editor reads other arguments than the request names", out);
  }

  // Every editor has ended, by itself or at the unattended bound, which
  // only a station nobody sees has.
  Require(out.host.editorsRunning == 0, "an editor left running", out);
  Require(out.host.openProcesses.empty(), "a process handle left open", out);
  Require(out.status != kErrorTimeout || !out.host.stationVisible,
          "a wait given up on a station a user can see", out);

  // The export's target is there, as it was, at every moment until a whole
  // new file replaces it in one rename; the run removes only files it made.
  const std::u16string target =
      command == u"export" ? FileNamed(Argument(args, 3)) : u"";
  std::vector<std::u16string> made;
  for (const FileChange& change : out.host.fileChanges) {
    Require(change.kind == FileChange::Create ||
                std::find(made.begin(), made.end(), change.name) != made.end(),
            "a file the run did not make removed or renamed", out);
    Require(change.kind != FileChange::Rename || change.to == target,
            "a rename to another name than the export's", out);
    made.push_back(change.name);
  }
  // Afterwards every file is as it was, but the target of an export that
  // succeeded; nothing of the run is left.
  for (const auto& [name, file] : out.host.files) {
    const auto before = filesBefore.find(name);
    if (name == target && out.status == kSuccess) {
      Require(file.content == kExportedContent,
              "an export's target that the editor did not write", out);
    } else {
      Require(before != filesBefore.end(), "a file of the run left", out);
      Require(file == before->second, "a file changed", out);
    }
  }
  for (const auto& [name, file] : filesBefore) {
    Require(out.host.files.count(name) != 0, "a file lost", out);
  }
}

}  // namespace
}  // namespace tolvu

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace tolvu;
  const FuzzRun run = DecodeFuzzInput(data, size);
  RecordingHost host;
  ScriptHost(run, host);
  std::vector<std::string> keysBefore;
  for (const auto& key : host.keys) {
    keysBefore.push_back(key.first);
  }
  const std::map<std::u16string, TestFile> filesBefore = host.files;

  const std::uint32_t status = RunTolvu(host);

  const Outcome out{run, host, status};
  const ArgumentArray args = SplitCommandLine(run.commandText);
  const std::u16string command = ToLowerAscii(Argument(args, 1));
  CheckBoxesAndStatus(out);
  CheckRegistry(out, command, keysBefore);
  CheckLaunchAndFiles(out, command, args, filesBefore);
  return 0;
}
