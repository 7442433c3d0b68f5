#include "regfiles/import_export.h"

#include <chrono>

#include "cli/root_keys.h"
#include "host/ansi_text.h"
#include "host/files.h"
#include "host/run_failure.h"
#include "host/status_codes.h"
#include "host/text.h"
#include "regfiles/launch_result.h"

namespace tolvu {
namespace {

constexpr int kShowHidden = 0;                   // SW_HIDE
constexpr std::int32_t kLaunchFileNotFound = 2;  // SE_ERR_FNF
// Where nobody can answer a box the editor shows, it may never end: the run
// stops waiting after this long and leaves it running.
constexpr std::chrono::minutes kUnattendedWait{10};
// Names tried for the old export file when it is moved aside.
constexpr int kAsideNames = 100;

// A Win32 error of a file or key lookup, as a description says it.
std::u16string ErrorReason(std::uint32_t error) {
  switch (error) {
    case kErrorFileNotFound:
      return u"there is none of that name";
    case kErrorPathNotFound:
      return u"its folder does not exist";
    case kErrorAccessDenied:
      return u"access is denied";
    case kErrorSharingViolation:
      return u"another program is using it";
    default:
      return u"Windows error " + DecimalText(error);
  }
}

RunFailure CannotReplace(const std::u16string& fileName,
                         const std::u16string& reason, std::uint32_t status) {
  return RunFailure{
      u"The export cannot replace " + Quoted(fileName) + u": " + reason + u".",
      status};
}

std::u16string NotFinished() {
  return u"The registry editor has not finished after " +
         DecimalText(kUnattendedWait.count()) +
         u" minutes; it is left running.";
}

// The editor by its full path: a regedit.exe in the current folder or on
// the search path must never be the one that runs. Empty when that is not a
// file: the shell would open a folder of that name in a file window and
// call it a success.
std::string EditorFile(Host& host) {
  const std::u16string editor = host.WindowsDirectory() + u"\\regedit.exe";
  const std::string file = AnsiOrFail(host, editor, u"editor path");
  return FileError(host, editor) == kSuccess ? file : std::string();
}

// Starts the editor hidden and waits for it to end: until then, a script's
// next step would race with it. Returns 0 once it has ended, kErrorTimeout
// when it still runs after the unattended wait, or the status of a failed
// launch after its box. The editor's own exit code says nothing reliable.
std::uint32_t RunEditor(Host& host, const std::string& editor,
                        const std::string& parameters) {
  const Launched launched =
      host.ShellExecuteExA(editor, parameters, kShowHidden);
  const std::uint32_t status = ReportLaunchResult(host, launched.code);
  if (status != kSuccess || launched.process == 0) {
    return status;
  }
  // A person can answer the editor's boxes; on a hidden station nobody can.
  const bool ended = host.WaitForProcess(
      launched.process,
      host.WindowStationVisible() ? kWaitForever : kUnattendedWait);
  host.CloseProcess(launched.process);
  return ended ? kSuccess : kErrorTimeout;
}

void RequireReadableKey(Host& host, const KeyPath& key,
                        const std::u16string& keyPath) {
  HostKey open = 0;
  const std::uint32_t status = host.RegOpenKeyA(
      key.root, AnsiOrFail(host, key.subKey, u"key path"), &open);
  if (status != kSuccess) {
    throw RunFailure{u"The key " + Quoted(keyPath) + u" cannot be exported: " +
                         ErrorReason(status) + u".",
                     status};
  }
  host.RegCloseKey(open);
}

void RequireFolderOf(Host& host, const std::u16string& fileName) {
  const std::u16string folder = FolderOf(fileName);
  if (folder.empty()) {
    return;
  }
  std::uint32_t attributes = 0;
  std::uint32_t error = host.FileAttributes(folder, &attributes);
  if (error == kErrorFileNotFound ||
      (error == kSuccess && (attributes & kAttributeDirectory) == 0)) {
    error = kErrorPathNotFound;
  }
  if (error != kSuccess) {
    throw RunFailure{u"The export file " + Quoted(fileName) +
                         u" cannot be written: " + ErrorReason(error) + u".",
                     error};
  }
}

// Whether an old file of the name waits to be replaced. The editor cannot
// write over a folder, nor over a hidden, system or read-only file.
bool OldFileToReplace(Host& host, const std::u16string& fileName) {
  std::uint32_t attributes = 0;
  const std::uint32_t error = host.FileAttributes(fileName, &attributes);
  if (error == kErrorFileNotFound) {
    return false;
  }
  if (error != kSuccess) {
    throw CannotReplace(fileName, ErrorReason(error), error);
  }
  if ((attributes & kAttributeDirectory) != 0) {
    throw CannotReplace(fileName, u"it is a folder", kErrorAccessDenied);
  }
  if ((attributes & (kAttributeHidden | kAttributeSystem)) != 0) {
    throw CannotReplace(fileName, u"it is a hidden or system file",
                        kErrorAccessDenied);
  }
  if ((attributes & kAttributeReadOnly) != 0) {
    throw CannotReplace(fileName, u"it is read-only", kErrorAccessDenied);
  }
  return true;
}

// Moves the old file aside in its own folder, under a name nothing has yet,
// so that an export that writes nothing can put it back.
std::u16string MoveAside(Host& host, const std::u16string& fileName) {
  std::uint32_t error = kSuccess;
  for (int n = 1; n <= kAsideNames; ++n) {
    std::u16string aside =
        fileName + u".tolvu-old" + (n == 1 ? u"" : u"-" + DecimalText(n));
    error = host.RenameFile(fileName, aside);
    if (error == kSuccess) {
      return aside;
    }
    if (error != kErrorAlreadyExists && error != kErrorFileExists) {
      break;
    }
  }
  throw CannotReplace(fileName, ErrorReason(error), error);
}

// After the editor's run: the export is done only when a file of the name
// is there again, and the old one stays until then.
std::uint32_t FinishExport(Host& host, const std::u16string& fileName,
                           const std::u16string& aside, std::uint32_t status) {
  const std::u16string kept = aside.empty()
                                  ? u""
                                  : u" The earlier file " + Quoted(fileName) +
                                        u" is kept as " + Quoted(aside) + u".";
  if (status == kErrorTimeout) {
    throw RunFailure{NotFinished() + kept, kErrorTimeout};
  }
  if (status == kSuccess && FileError(host, fileName) == kSuccess) {
    if (!aside.empty()) {
      host.RemoveFile(aside);  // left over at worst: nothing is lost
    }
    return kSuccess;
  }
  const std::uint32_t failure = status == kSuccess ? kErrorCannotMake : status;
  if (!aside.empty() && host.RenameFile(aside, fileName) != kSuccess) {
    throw RunFailure{
        u"The export did not replace " + Quoted(fileName) + u"." + kept,
        failure};
  }
  if (status != kSuccess) {
    return status;  // the launch failed, and its box said so
  }
  throw RunFailure{u"The registry editor wrote no file " + Quoted(fileName) +
                       (aside.empty() ? u"; nothing was exported."
                                      : u"; the earlier file is kept as it "
                                        u"was."),
                   kErrorCannotMake};
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
  AnsiOrFail(host, fileName, u"file name");
  return StatusShowingFailure(host, [&] {
    const std::uint32_t missing = FileError(host, fileName);
    if (missing != kSuccess) {
      throw RunFailure{u"The file " + Quoted(fileName) +
                           u" cannot be imported: " + ErrorReason(missing) +
                           u".",
                       missing};
    }
    const std::string parameters = AnsiOrFail(
        host, u"/s " + EditorArgument(fileName), u"editor parameters");
    const std::string editor = EditorFile(host);
    if (editor.empty()) {
      return ReportLaunchResult(host, kLaunchFileNotFound);
    }
    const std::uint32_t status = RunEditor(host, editor, parameters);
    if (status == kErrorTimeout) {
      throw RunFailure{NotFinished(), kErrorTimeout};
    }
    return status;
  });
}

std::uint32_t ExportKey(Host& host, const KeyPath& key,
                        const std::u16string& fileName) {
  return StatusShowingFailure(host, [&] {
    // Nothing is touched before every check has passed.
    if (Contains(fileName, u'*') || Contains(fileName, u'?')) {
      throw RunFailure{u"The export file name " + Quoted(fileName) +
                           u" contains a wildcard character (* or ?); name "
                           u"one file.",
                       kErrorInvalidName};
    }
    const std::u16string keyPath = RootKeyName(key.root) + u"\\" + key.subKey;
    AnsiOrFail(host, fileName, u"file name");
    AnsiOrFail(host, keyPath, u"key path");
    const std::string parameters = AnsiOrFail(
        host,
        u"/e " + EditorArgument(fileName) + u" " + EditorArgument(keyPath),
        u"editor parameters");
    RequireReadableKey(host, key, keyPath);
    RequireFolderOf(host, fileName);
    const bool replaces = OldFileToReplace(host, fileName);
    const std::string editor = EditorFile(host);
    if (editor.empty()) {
      return ReportLaunchResult(host, kLaunchFileNotFound);
    }
    const std::u16string aside = replaces ? MoveAside(host, fileName) : u"";
    return FinishExport(host, fileName, aside,
                        RunEditor(host, editor, parameters));
  });
}

}  // namespace tolvu
