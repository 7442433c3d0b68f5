#include "regfiles/import_export.h"

#include <chrono>
#include <optional>
#include <utility>

#include "cli/root_keys.h"
#include "host/ansi_text.h"
#include "host/files.h"
#include "host/run_failure.h"
#include "host/status_codes.h"
#include "host/text.h"
#include "host/unseen_box.h"
#include "regfiles/export_file.h"
#include "regfiles/file_errors.h"
#include "regfiles/import_check.h"
#include "regfiles/launch_result.h"
#include "regfiles/reg_file_reader.h"

namespace tolvu {
namespace {

constexpr int kShowHidden = 0;                   // SW_HIDE
constexpr std::int32_t kLaunchFileNotFound = 2;  // SE_ERR_FNF
// Where nobody can answer a box the editor shows, it may never end: the run
// ends it after this long.
constexpr std::chrono::minutes kUnattendedWait{10};

// The editor by its full path: a regedit.exe in the current folder or on
// the search path must never be the one that runs. When that is not a file
// (the shell would open a folder of that name in a file window and call it
// a success), or the Windows folder is unknown (the root of the current
// drive is no place to look), the launch's "File not found" box and a
// RunFailure with nothing more to tell.
std::string EditorFile(Host& host) {
  const std::u16string folder = host.WindowsDirectory();
  const std::u16string editor = folder + u"\\regedit.exe";
  std::string file = AnsiOrFail(host, editor, u"editor path");
  std::uint32_t attributes = 0;
  if (folder.empty() || host.FileAttributes(editor, &attributes) != kSuccess ||
      (attributes & kAttributeDirectory) != 0) {
    throw RunFailure{u"",
                     ReportLaunchResult(host, Launched{kLaunchFileNotFound})};
  }
  return file;
}

// What running the editor came to: 0 once it was started and, where the
// launch gave a process, seen to end; otherwise the status of a failed
// launch, after its box.
struct EditorRun {
  std::uint32_t status;
  bool seenToEnd;
};

// Starts the editor hidden and waits for it to end: until then, a script's
// next step would race with it. The editor's own exit code says nothing
// reliable. Where nobody could answer its boxes, an editor still running
// after the unattended wait is ended, and that is a run-time failure:
// agents wait for every process a run started.
EditorRun RunEditor(Host& host, const std::string& editor,
                    const std::string& parameters) {
  const Launched launched =
      host.ShellExecuteExA(editor, parameters, kShowHidden);
  const std::uint32_t status = ReportLaunchResult(host, launched);
  if (status != kSuccess || launched.process == 0) {
    return EditorRun{status, false};
  }
  const bool ended = host.WaitForProcess(
      launched.process, NobodySeesBoxes(host) ? kUnattendedWait : kWaitForever);
  const bool endedByUs = !ended && host.EndProcess(launched.process);
  host.CloseProcess(launched.process);
  if (!ended) {
    throw RunFailure{u"The registry editor had not finished after " +
                         DecimalText(kUnattendedWait.count()) + u" minutes " +
                         (endedByUs ? u"and was ended."
                                    : u"and could not be ended; it is left "
                                      u"running."),
                     kErrorTimeout};
  }
  return EditorRun{kSuccess, true};
}

// The name as the system resolves it now, in any logon session: the editor
// may start in another folder than the checks ran in, and in another
// session (elevated: in the system folder, without the user's network
// drives and subst letters).
std::u16string FullPathOf(Host& host, const std::u16string& name) {
  std::u16string full;
  const std::uint32_t error = host.FullPathName(name, &full);
  if (error != kSuccess) {
    throw RunFailure{u"The file name " + Quoted(name) +
                         u" cannot be made a full path: " + ErrorReason(error) +
                         u".",
                     error};
  }
  return PathForAnySession(host, full);
}

// The whole file, read into its entries before the editor runs. A file
// that is missing, a folder or unreadable cannot be imported; one that is
// no registry file is refused with 13.
RegFile ReadImportFile(Host& host, const std::u16string& fileName) {
  std::string bytes;
  const std::uint32_t error =
      host.ReadFileBytes(fileName, FileRange{0, kToTheEnd}, &bytes);
  if (error != kSuccess) {
    throw RunFailure{u"The file " + Quoted(fileName) +
                         u" cannot be imported: " + ErrorReason(error) + u".",
                     error};
  }
  std::optional<RegFile> file =
      ReadRegFile(bytes, [&host](const std::string& text) {
        return host.FromSystemCodePage(text);
      });
  if (!file) {
    throw RunFailure{u"The file " + Quoted(fileName) +
                         u" is no registry file: its first line is neither "
                         u"\"Windows Registry Editor Version 5.00\" nor "
                         u"\"REGEDIT4\". Nothing was imported.",
                     kErrorInvalidData};
  }
  return std::move(*file);
}

// `subKey` is the key's path below its root in ANSI text.
void RequireReadableKey(Host& host, std::uint32_t root,
                        const std::string& subKey,
                        const std::u16string& keyPath) {
  HostKey open = 0;
  const std::uint32_t status = host.RegOpenKeyA(root, subKey, &open);
  if (status != kSuccess) {
    throw RunFailure{u"The key " + Quoted(keyPath) + u" cannot be exported: " +
                         ErrorReason(status) + u".",
                     status};
  }
  host.RegCloseKey(open);
}

// One file: a wildcard would have the editor write a file of that name. The
// \\?\ of a path that Windows takes as it stands is none.
void RequireOneFile(const std::u16string& fileName) {
  const std::u16string literal = u"\\\\?\\";
  const std::u16string path = fileName.rfind(literal, 0) == 0
                                  ? fileName.substr(literal.size())
                                  : fileName;
  if (Contains(path, u'*') || Contains(path, u'?')) {
    throw RunFailure{u"The export file name " + Quoted(fileName) +
                         u" contains a wildcard character (* or ?); name "
                         u"one file.",
                     kErrorInvalidName};
  }
}

// Has the editor write the new file, and puts it in the target's place
// when it is whole. A RunFailure otherwise, one with no description after
// the box of a failed launch.
void ExportThrough(Host& host, const std::string& editor,
                   const std::u16string& keyPath, const ExportFiles& files) {
  const std::string parameters =
      AnsiOrFail(host,
                 u"/e " + EditorArgument(FullPathOf(host, files.newFile)) +
                     u" " + EditorArgument(keyPath),
                 u"editor parameters");
  const std::uint32_t status = RunEditor(host, editor, parameters).status;
  if (status != kSuccess) {
    throw RunFailure{u"", status};
  }
  ReplaceWithWholeExport(host, files, keyPath);
}

// Rethrows the failure being handled; a RunFailure's description then
// ends with the note.
[[noreturn]] void RethrowNoting(const std::u16string& note) {
  try {
    throw;
  } catch (RunFailure& failure) {
    if (!note.empty()) {
      failure.description += (failure.description.empty() ? u"" : u" ") + note;
    }
    throw;
  }
}

}  // namespace

std::u16string FileNameOf(const std::u16string& typed) {
  std::u16string name;
  for (const char16_t ch : typed) {
    if (ch != u'"') {
      name.push_back(ch);
    }
  }
  return name;
}

std::u16string EditorArgument(const std::u16string& text) {
  // A bare quote would be read as quoting: a key named a"b"c would reach the
  // editor as abc, another key.
  if (!Contains(text, u' ') && !Contains(text, u'\t') &&
      !Contains(text, u'"')) {
    return text;
  }
  // Backslashes are literal except before a quote, where they escape it:
  // double those, and escape the quotes themselves.
  std::u16string quoted = u"\"";
  std::size_t backslashes = 0;
  for (const char16_t ch : text) {
    if (ch == u'\\') {
      ++backslashes;
    } else if (ch == u'"') {
      quoted.append(backslashes * 2 + 1, u'\\');
      backslashes = 0;
    } else {
      quoted.append(backslashes, u'\\');
      backslashes = 0;
    }
    if (ch != u'\\') {
      quoted.push_back(ch);
    }
  }
  quoted.append(backslashes * 2, u'\\');
  quoted.push_back(u'"');
  return quoted;
}

bool IsRegFileName(const std::u16string& fileName) {
  return EndsWith(ToLowerAscii(fileName), u".reg");
}

std::uint32_t ImportFile(Host& host, const std::u16string& fileName) {
  // An import has no failure path of its own for its name: one the code
  // page cannot hold ends in the main flow's, with the usage box after the
  // description. An export's name is its own failure.
  AnsiOrFail(host, fileName, u"file name");
  return StatusShowingFailure(host, [&] {
    const std::string editor = EditorFile(host);
    const RegFile file = ReadImportFile(host, fileName);
    const std::string parameters =
        AnsiOrFail(host, u"/s " + EditorArgument(FullPathOf(host, fileName)),
                   u"editor parameters");
    const EditorRun run = RunEditor(host, editor, parameters);
    // An editor that gave no process to wait for may still be running:
    // nothing can be read back yet.
    if (run.status == kSuccess && run.seenToEnd) {
      CheckImported(host, fileName, file);
    }
    return run.status;
  });
}

std::uint32_t ExportKey(Host& host, const KeyPath& key,
                        const std::u16string& fileName) {
  return StatusShowingFailure(host, [&] {
    // Nothing is touched before every check has passed.
    RequireOneFile(fileName);
    const std::u16string root = RootKeyName(key.root) + u"\\";
    const std::u16string keyPath = root + key.subKey;
    AnsiOrFail(host, fileName, u"file name");
    const std::string ansiKey = AnsiOrFail(host, keyPath, u"key path");
    RequireReadableKey(host, key.root, ansiKey.substr(root.size()), keyPath);
    RequireFolderOf(host, fileName);
    const bool replaces = OldFileToReplace(host, fileName);
    const std::string editor = EditorFile(host);
    // From here the run has a file of its own, which it removes unless it
    // becomes the target; one it cannot remove is named.
    const ExportFiles files{fileName, ReserveNewFile(host, fileName, replaces),
                            replaces};
    try {
      ExportThrough(host, editor, keyPath, files);
    } catch (...) {
      RethrowNoting(RemoveNewFile(host, files.newFile));
    }
    return kSuccess;
  });
}

}  // namespace tolvu
