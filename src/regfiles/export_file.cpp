#include "regfiles/export_file.h"

#include <cstdint>

#include "host/files.h"
#include "host/run_failure.h"
#include "host/status_codes.h"
#include "host/text.h"
#include "regfiles/file_errors.h"

namespace tolvu {
namespace {

// Names tried for the new file.
constexpr int kNewFileNames = 100;

// What a description adds about the Win32 error: the reason alone, or what
// failed with the reason after it.
std::u16string Because(const std::u16string& what, std::uint32_t error) {
  return what.empty() ? ErrorReason(error)
                      : what + u" (" + ErrorReason(error) + u")";
}

// The target of an export cannot be replaced, for the reason given.
RunFailure CannotReplace(const std::u16string& target,
                         const std::u16string& what, std::uint32_t error) {
  return RunFailure{u"The export cannot replace " + Quoted(target) + u": " +
                        Because(what, error) + u".",
                    error};
}

// No file can be written beside the export's target, for the reason given.
RunFailure CannotWrite(const std::u16string& target,
                       const std::u16string& reason, std::uint32_t error) {
  return RunFailure{u"The export file " + Quoted(target) +
                        u" cannot be written: " + reason + u".",
                    error};
}

// Every export of the registry editor begins with the byte-order mark, the
// version line, a blank line and the key it was given, in UTF-16LE, and
// ends with a line end. One cut off by a full disk or a quota does not end
// so; one the editor gave up on after its first line holds no key.
bool HoldsWholeExport(Host& host, const ExportFiles& files,
                      const std::u16string& keyPath) {
  const std::u16string head =
      u"\uFEFFWindows Registry Editor Version 5.00"
      u"\r\n\r\n[" +
      keyPath + u"]\r\n";
  const std::string tail = Utf16Le(u"\r\n");
  std::uint64_t size = 0;
  if (host.FileSize(files.newFile, &size) != kSuccess ||
      size < head.size() * 2) {
    return false;
  }
  std::string start;
  std::string end;
  std::uint32_t error = WaitingOutBusy(host, [&] {
    return host.ReadFileBytes(files.newFile, {0, head.size() * 2}, &start);
  });
  if (error == kSuccess) {
    error = WaitingOutBusy(host, [&] {
      return host.ReadFileBytes(files.newFile,
                                {size - tail.size(), tail.size()}, &end);
    });
  }
  if (error != kSuccess) {
    throw CannotReplace(files.target, u"the new file cannot be read", error);
  }
  return ToLowerAscii(FromUtf16Le(start)) == ToLowerAscii(head) && end == tail;
}

}  // namespace

void RequireFolderOf(Host& host, const std::u16string& fileName) {
  const std::u16string folder = FolderOf(fileName);
  if (folder.empty()) {
    return;
  }
  // With its trailing separator, a file of that name is not found either.
  std::uint32_t attributes = 0;
  std::uint32_t error = host.FileAttributes(folder, &attributes);
  if (error == kErrorFileNotFound || error == kErrorInvalidName) {
    error = kErrorPathNotFound;
  }
  if (error != kSuccess) {
    throw CannotWrite(fileName, ErrorReason(error), error);
  }
}

// The editor cannot write over a folder, nor over a hidden, system or
// read-only file.
bool OldFileToReplace(Host& host, const std::u16string& target) {
  std::uint32_t attributes = 0;
  const std::uint32_t error = host.FileAttributes(target, &attributes);
  if (error == kErrorFileNotFound) {
    return false;
  }
  if (error != kSuccess) {
    throw CannotReplace(target, u"", error);
  }
  if ((attributes & kAttributeDirectory) != 0) {
    throw CannotReplace(target, u"it is a folder", kErrorAccessDenied);
  }
  if ((attributes & (kAttributeHidden | kAttributeSystem)) != 0) {
    throw CannotReplace(target, u"it is a hidden or system file",
                        kErrorAccessDenied);
  }
  if ((attributes & kAttributeReadOnly) != 0) {
    throw CannotReplace(target, u"it is read-only", kErrorAccessDenied);
  }
  return true;
}

// The rename takes the new file's access list to the target's name, where
// the old file's was: without the old list, a file locked down to some
// accounts would be replaced by one that its folder lets anyone read. Set
// later, the folder's list would let a reader in meanwhile.
std::u16string ReserveNewFile(Host& host, const std::u16string& target,
                              bool replaces) {
  // It keeps the .reg ending, which an editor may look for.
  const std::u16string stem =
      target + u".tolvu-" + DecimalText(host.ProcessId());
  const std::u16string like = replaces ? target : u"";
  std::u16string owner;
  std::uint32_t error = kSuccess;
  for (int n = 1; n <= kNewFileNames; ++n) {
    std::u16string name =
        stem + (n == 1 ? u"" : u"-" + DecimalText(n)) + u".reg";
    error = host.CreateNewFile(name, like, &owner);
    if (error == kSuccess) {
      return name;
    }
    if (error != kErrorFileExists) {
      break;
    }
  }
  if (error == kErrorInvalidOwner && !owner.empty()) {
    throw CannotReplace(target,
                        u"it belongs to " + owner +
                            u", not to this account, SYSTEM, Administrators "
                            u"or TrustedInstaller, so its access list is not "
                            u"one to take over",
                        kErrorAccessDenied);
  }
  if (error == kErrorCantAccessFile) {
    throw CannotWrite(target,
                      u"the access list a new file beside it gets (the old "
                      u"file's, or without one its folder's) would lock this "
                      u"account out of the export",
                      kErrorAccessDenied);
  }
  if (error == kErrorBadDevice) {
    throw RunFailure{u"The export file name " + Quoted(target) +
                         u" is the name of a device, not a file; name a file.",
                     kErrorInvalidName};
  }
  // The folder was there a moment ago: Controlled Folder Access refuses a
  // program it does not trust so.
  if (error == kErrorFileNotFound || error == kErrorPathNotFound) {
    throw CannotWrite(
        target,
        u"Windows refused to create a new file beside it (Windows error " +
            DecimalText(error) +
            u"). Controlled Folder Access or another protection may be the "
            u"cause: add tolvu.exe, by its full path, to the apps Controlled "
            u"Folder Access allows, or export to a folder it does not "
            u"protect",
        error);
  }
  const std::u16string reason = error == kErrorFileExists
                                    ? u"every name tried for it is taken"
                                    : ErrorReason(error);
  throw CannotWrite(
      target, u"a new file beside it could not be created (" + reason + u")",
      error);
}

void ReplaceWithWholeExport(Host& host, const ExportFiles& files,
                            const std::u16string& keyPath) {
  if (!HoldsWholeExport(host, files, keyPath)) {
    throw RunFailure{
        u"The registry editor wrote no whole export to " +
            Quoted(files.target) +
            (files.replaces ? u"; the earlier file is kept as it was."
                            : u"; nothing was exported."),
        kErrorCannotMake};
  }
  // The file system may put the rename on the disk before the data: a power
  // cut then would leave the target's name on a file of zeros.
  std::uint32_t error =
      WaitingOutBusy(host, [&] { return host.FlushFile(files.newFile); });
  if (error != kSuccess) {
    throw CannotReplace(files.target,
                        u"the new file cannot be written to the disk", error);
  }
  error = WaitingOutBusy(
      host, [&] { return host.RenameReplacing(files.newFile, files.target); });
  if (error != kSuccess) {
    throw CannotReplace(files.target, u"", error);
  }
}

std::u16string RemoveNewFile(Host& host, const std::u16string& newFile) {
  const std::uint32_t error =
      WaitingOutBusy(host, [&] { return host.RemoveFile(newFile); });
  if (error == kSuccess || error == kErrorFileNotFound) {
    return u"";
  }
  return u"The new file " + Quoted(newFile) + u" is left; it could not be " +
         u"removed: " + ErrorReason(error) + u".";
}

}  // namespace tolvu
