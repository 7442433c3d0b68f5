// libFuzzer target: any command-line text, through splitting, request,
// route and operation, on the recording host. Besides the sanitizers'
// checks it aborts on any run that breaks what must hold for every command
// line: the boxes shown, the registry and process handles, the bytes
// written, the files kept and the exit status. What the command line asks
// for comes from request_model.h, never from the tool's own code, which is
// only driven through RunTolvu.
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
#include "fuzz_input.h"
#include "host/host.h"
#include "host/status_codes.h"
#include "request_model.h"
#include "support/code_pages.h"
#include "support/recording_host.h"
#include "support/windows_arguments.h"

namespace tolvu {
namespace {

struct Outcome {
  const FuzzRun& run;
  const RecordingHost& host;
  std::uint32_t status;
  const ExpectedRequest& request;
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

bool IsDeletion(const RecordedCall& call) {
  return call.call == RegistryCall::DeleteKey ||
         call.call == RegistryCall::DeleteValue;
}

// The tool reports a failed registry call through its exit status, except a
// failed close, which it does not examine, and a failed count of sub keys,
// which only decides whether a refused deletion is reported as 1020.
// An import's reading back, whose failures the comparison describes.
bool IsReadBack(const RecordedCall& call) {
  return call.call == RegistryCall::OpenKeyToRead ||
         call.call == RegistryCall::QueryValue;
}

bool IsReportedFailure(const RecordedCall& call) {
  return call.call != RegistryCall::CloseKey && !IsReadBack(call) &&
         call.call != RegistryCall::QueryInfo && call.status != 0;
}

// A key deletion the registry refused as access denied while the key has
// sub keys, which the tool reports as such.
bool IsRefusedForSubKeys(const RecordingHost& host, const RecordedCall& call) {
  return call.call == RegistryCall::DeleteKey &&
         call.status == kErrorAccessDenied &&
         host.HasSubKeys(call.root, call.subKey);
}

void CheckBoxesAndStatus(const Outcome& out) {
  const std::vector<ShownBox>& boxes = out.host.boxes;
  Require(boxes.size() <= 2, "more than two boxes", out);
  std::vector<BoxKind> kinds;
  for (const ShownBox& box : boxes) {
    kinds.push_back(KindOfBox(box));
    Require(kinds.back() != BoxKind::Unknown, "a box of no known kind", out);
  }
  // Only an import leaves a failure to the main flow's description.
  if (kinds.size() == 2) {
    Require(kinds[0] == BoxKind::Description && kinds[1] == BoxKind::Usage &&
                out.request.command == u"import",
            "two boxes that are not an import's description then the usage",
            out);
  }
  Require(out.request.refused == (kinds == std::vector{BoxKind::Usage}),
          "the usage box alone for a request the tool takes, or the reverse",
          out);
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

// An import only reads the registry back; an export only opens its key, to
// see that it can be read.
bool ReadsOnly(const Outcome& out, const RecordedCall& call) {
  const std::u16string& command = out.request.command;
  return (command == u"import" &&
          (IsReadBack(call) || call.call == RegistryCall::CloseKey)) ||
         (command == u"export" && (call.call == RegistryCall::OpenKey ||
                                   call.call == RegistryCall::CloseKey));
}

void CheckRegistry(const Outcome& out,
                   const std::vector<std::string>& keysBefore) {
  const std::u16string& command = out.request.command;
  const bool add = command == u"add" || command == u"create";
  const bool remove = command == u"remove" || command == u"delete";
  Require(out.host.badHandleUses == 0,
          "a registry call on a handle that is not open", out);
  Require(out.host.openKeys.empty(), "a registry key left open", out);
  // An export only opens its key, to see that it can be read; every call
  // that names a key names the request's.
  const std::optional<std::string> key = EncodeUtf8(out.request.registryKey);
  for (const RecordedCall& call : out.host.calls) {
    Require(!out.request.refused && (add || remove || ReadsOnly(out, call)),
            "a registry call that the request does not make", out);
    Require((call.call != RegistryCall::CreateKey &&
             call.call != RegistryCall::OpenKey &&
             call.call != RegistryCall::DeleteKey) ||
                (call.root == out.request.root && call.subKey == key),
            "a registry call on another key than the request names", out);
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
    Require(write->type == out.request.dataType,
            "a value of another type than the request names", out);
    Require(write->type != kRegDwordCode || write->data.size() == 4,
            "a REG_DWORD value that is not exactly 4 bytes", out);
    Require(write->type != kRegSzCode ||
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

// Whether a box says that the run left the file.
bool NamedAsLeft(const Outcome& out, const std::u16string& name) {
  const std::u16string words = u"\"" + name + u"\" is left";
  return std::any_of(out.host.boxes.begin(), out.host.boxes.end(),
                     [&](const ShownBox& box) {
                       return box.text.find(words) != std::u16string::npos;
                     });
}

// About how long the tool tries a step on a file another program holds.
constexpr std::uint64_t kBusyWaitMs = 2000;

// How long the run may wait at most: for the editor, and for about two
// seconds at each of the five steps on the export's file that another
// program may hold (two reads, the flush, the rename, the removal).
std::uint64_t LongestWaitMs(const FuzzRun& run) {
  constexpr std::uint64_t kEditorMs = 1000;
  constexpr std::uint64_t kUnattendedBoundMs = 600000;
  constexpr std::uint64_t kStepsOnTheFile = 5;
  return (run.unattendedLongRun ? kUnattendedBoundMs : kEditorMs) +
         kStepsOnTheFile * kBusyWaitMs;
}

using Files = std::map<std::u16string, TestFile>;

// An export's target as it was before the run.
struct ExportTarget {
  std::u16string name;  // empty for any other command
  bool existed = false;
  std::string accessList;  // "" without an old file
};

ExportTarget TargetOf(const Outcome& out, const Files& filesBefore) {
  ExportTarget target;
  target.name = out.request.command == u"export" ? out.request.fileName : u"";
  const auto old = filesBefore.find(target.name);
  target.existed = old != filesBefore.end();
  target.accessList = target.existed ? old->second.accessList : "";
  return target;
}

// A file name as the platform resolves it.
std::u16string FullPath(const std::u16string& name) {
  RecordingHost platform;
  std::u16string full = name;
  platform.FullPathName(name, &full);
  return full;
}

// An import reads its file first: the editor starts only on a registry
// file, and only an editor that ended can have left entries not as given.
void CheckImport(const Outcome& out, const Files& filesBefore) {
  const bool launched = !out.host.launches.empty();
  Require(out.status != kErrorCantWrite ||
              (out.request.command == u"import" && launched &&
               LaunchStarted(out.run.launchResult)),
          "status 1013 without an import's editor", out);
  const auto file = filesBefore.find(out.request.fileName);
  if (out.request.command != u"import" || out.request.refused ||
      file == filesBefore.end() || file->second.attributes != 0 ||
      file->second.lookupError != 0 || file->second.heldError != 0 ||
      ExpectedEditorArguments(out.request, filesBefore, out.host.processId,
                              FullPath)
          .empty()) {
    return;
  }
  const bool registryFile = IsRegistryFileText(file->second.content);
  Require(launched == registryFile,
          "an editor started on no registry file, or not on one", out);
  Require(registryFile ||
              (out.status == kErrorInvalidData && out.host.boxes.size() == 1),
          "no registry file without status 13 and its one box", out);
}

void CheckLaunchAndWaits(const Outcome& out, const Files& filesBefore,
                         const ExportTarget& target) {
  const std::vector<Launch>& launches = out.host.launches;
  Require(launches.size() <= 1, "more than one launch", out);
  for (const Launch& launch : launches) {
    Require(launch.file == EncodeUtf8(kTestEditorPath) && launch.showMode == 0,
            "a launch of another program or a shown window", out);
    const std::vector<std::string> named = ExpectedEditorArguments(
        out.request, filesBefore, out.host.processId, FullPath);
    Require(!named.empty(), "a launch the request does not ask for", out);
    Require(WindowsArguments(launch.parameters) == named,
            "the editor reads other arguments than the request names", out);
    bool madeFile = false;
    for (const auto& [name, file] : launch.files) {
      const bool namedFile = EncodeUtf8(FullPath(name)) == named[1];
      madeFile = madeFile || namedFile;
      Require(target.name.empty() || !namedFile ||
                  file.accessList == target.accessList,
              "the editor started on a file without the old file's access "
              "list",
              out);
    }
    Require(named.size() != 3 || madeFile,
            "the editor started on an export file the run did not make "
            "(a device's name)",
            out);
  }
  Require(out.host.clockMs <= LongestWaitMs(out.run),
          "a wait longer than the editor's and the retries'", out);
  Require(out.status != kExportHeldError || out.run.exportHeldMs > kBusyWaitMs,
          "a file held for less than the wait not waited out", out);

  // Every editor has ended, by itself or at the unattended bound, which
  // only a station nobody sees has.
  Require(out.host.editorsRunning == 0, "an editor left running", out);
  Require(out.host.openProcesses.empty(), "a process handle left open", out);
  Require(out.status != kErrorTimeout || !out.host.stationVisible,
          "a wait given up on a station a user can see", out);
}

void CheckFiles(const Outcome& out, const Files& filesBefore,
                const ExportTarget& target) {
  // The export's target is there, as it was, at every moment until a whole
  // new file, its data flushed, replaces it in one rename; the run changes
  // only files it made.
  std::vector<std::u16string> made;
  std::vector<std::u16string> flushed;
  const auto has = [](const std::vector<std::u16string>& names,
                      const std::u16string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  for (const FileChange& change : out.host.fileChanges) {
    Require(change.kind == FileChange::Create || has(made, change.name),
            "a file the run did not make changed, removed or renamed", out);
    Require(change.kind != FileChange::Rename ||
                (change.to == target.name && has(flushed, change.name)),
            "a rename to another name than the export's, or before a flush",
            out);
    if (change.kind == FileChange::Flush) {
      flushed.push_back(change.name);
    }
    made.push_back(change.name);
  }
  // Afterwards every file is as it was, but the target of an export that
  // succeeded, which is the editor's whole export with the old file's
  // access list; a file of the run is left only where a box says so.
  for (const auto& [name, file] : out.host.files) {
    const auto before = filesBefore.find(name);
    if (name == target.name && out.status == kSuccess) {
      const std::vector<std::string> named = ExpectedEditorArguments(
          out.request, filesBefore, out.host.processId, FullPath);
      Require(out.run.editorOutput == EditorOutput::Whole &&
                  !out.run.flushFails && named.size() == 3 &&
                  file.content == ExportedContent(DecodeUtf8(named[2])),
              "an export's target that is not the editor's whole export of "
              "the key",
              out);
      Require(file.accessList == target.accessList &&
                  (!target.existed || (!out.run.accessListUnreadable &&
                                       !out.run.exportTargetForeign)),
              "an export's target without the old file's access list, or "
              "with that of a file another account owns",
              out);
    } else if (before == filesBefore.end()) {
      Require(NamedAsLeft(out, name), "a file of the run left unnamed", out);
    } else {
      Require(file == before->second, "a file changed", out);
    }
  }
  for (const auto& [name, file] : filesBefore) {
    Require(out.host.files.count(name) != 0, "a file lost", out);
  }
  // A box that says a file is left names one that is there.
  for (const ShownBox& box : out.host.boxes) {
    const std::size_t left = box.text.find(u"\" is left");
    const std::size_t start = box.text.rfind(u'"', left - 1);
    Require(left == std::u16string::npos ||
                (start != std::u16string::npos &&
                 out.host.files.count(
                     box.text.substr(start + 1, left - start - 1)) != 0),
            "a box names a file left that is not there", out);
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

  const ExpectedRequest request = ExpectRequest(run.commandText);
  const Outcome out{run, host, status, request};
  CheckBoxesAndStatus(out);
  CheckRegistry(out, keysBefore);
  const ExportTarget target = TargetOf(out, filesBefore);
  CheckLaunchAndWaits(out, filesBefore, target);
  CheckImport(out, filesBefore);
  CheckFiles(out, filesBefore, target);
  return 0;
}
