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

std::string Utf16Le(const std::u16string& text) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFFU));
    bytes.push_back(static_cast<char>(unit >> 8U));
  }
  return bytes;
}

// Every export of the registry editor begins with the byte-order mark and
// the version line, in UTF-16LE, and ends with a line end; one cut off by a
// full disk or a quota does not end so.
bool HoldsWholeExport(Host& host, const ExportFiles& files) {
  const std::string head =
      Utf16Le(u"\uFEFFWindows Registry Editor Version 5.00");
  const std::string tail = Utf16Le(u"\r\n");
  std::uint64_t size = 0;
  if (host.FileSize(files.newFile, &size) != kSuccess ||
      size < head.size() + tail.size()) {
    return false;
  }
  std::string start;
  std::string end;
  std::uint32_t error = WaitingOutBusy(host, [&] {
    return host.ReadFileBytes(files.newFile, {0, head.size()}, &start);
  });
  if (error == kSuccess) {
    error = WaitingOutBusy(host, [&] {
      return host.ReadFileBytes(files.newFile,
                                {size - tail.size(), tail.size()}, &end);
    });
  }
  if (error != kSuccess) {
    throw CannotReplace(
        files.target,
        u"the new file cannot be read (" + ErrorReason(error) + u")", error);
  }
  return start == head && end == tail;
}

}  // namespace

std::u16string ReserveNewFile(Host& host, const std::u16string& target) {
  // It keeps the .reg ending, which an editor may look for.
  const std::u16string stem =
      target + u".tolvu-" + DecimalText(host.ProcessId());
  std::uint32_t error = kSuccess;
  for (int n = 1; n <= kNewFileNames; ++n) {
    std::u16string name =
        stem + (n == 1 ? u"" : u"-" + DecimalText(n)) + u".reg";
    error = host.CreateNewFile(name);
    if (error == kSuccess) {
      return name;
    }
    if (error != kErrorFileExists) {
      break;
    }
  }
  throw CannotWrite(target, error);
}

// The rename takes the new file's access list to the target's name, where
// the old file's was: without the copy, a file locked down to some accounts
// would be replaced by one that its folder lets anyone read.
void CopyAccessList(Host& host, const ExportFiles& files) {
  std::string accessList;
  std::uint32_t error = host.FileAccessList(files.target, &accessList);
  if (error != kSuccess) {
    throw CannotReplace(
        files.target,
        u"its access list cannot be read (" + ErrorReason(error) + u")", error);
  }
  error = host.SetFileAccessList(files.newFile, accessList);
  if (error != kSuccess) {
    throw CannotReplace(files.target,
                        u"its access list cannot be given to the new file (" +
                            ErrorReason(error) + u")",
                        error);
  }
}

void ReplaceWithWholeExport(Host& host, const ExportFiles& files) {
  if (!HoldsWholeExport(host, files)) {
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
                        u"the new file cannot be written to the disk (" +
                            ErrorReason(error) + u")",
                        error);
  }
  error = WaitingOutBusy(
      host, [&] { return host.RenameReplacing(files.newFile, files.target); });
  if (error != kSuccess) {
    throw CannotReplace(files.target, ErrorReason(error), error);
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
