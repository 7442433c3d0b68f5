#include "regfiles/import_export.h"

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

// The editor by its full path: a regedit.exe in the current folder or on
// the search path must never be the one that runs.
std::uint32_t LaunchEditor(Host& host, const std::u16string& parameters) {
  const std::u16string editor = host.WindowsDirectory() + u"\\regedit.exe";
  const std::string file = AnsiOrFail(host, editor, u"editor path");
  const std::string ansiParameters =
      AnsiOrFail(host, parameters, u"editor parameters");
  // The shell would open a folder of that name in a file window and call
  // it a success: only a file is launched.
  if (!IsFile(host, editor)) {
    return ReportLaunchResult(host, kLaunchFileNotFound);
  }
  return ReportLaunchResult(
      host, host.ShellExecuteA(file, ansiParameters, kShowHidden));
}

// The file a typed name means: quotes there only group blanks, and no
// Windows file name holds one.
std::u16string FileNameOf(const std::u16string& typed) {
  std::u16string name;
  for (const char16_t ch : typed) {
    if (ch != u'"') {
      name.push_back(ch);
    }
  }
  return name;
}

std::u16string DeleteFailureReason(std::uint32_t error) {
  switch (error) {
    case kErrorAccessDenied:
      return u"access is denied (the file may be read-only)";
    case kErrorSharingViolation:
      return u"another program is using it";
    default:
      return u"Windows error " + DecimalText(error);
  }
}

}  // namespace

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

std::uint32_t ImportFile(Host& host, const std::u16string& typedName) {
  const std::u16string fileName = FileNameOf(typedName);
  AnsiOrFail(host, fileName, u"file name");
  return LaunchEditor(host, u"/s " + EditorArgument(fileName));
}

std::uint32_t ExportKey(Host& host, const KeyPath& key,
                        const std::u16string& typedName) {
  const std::u16string fileName = FileNameOf(typedName);
  return StatusShowingFailure(host, [&] {
    // Deleting goes by the name as given: a wildcard must never widen it
    // to other files.
    if (Contains(fileName, u'*') || Contains(fileName, u'?')) {
      throw RunFailure{u"The export file name " + Quoted(fileName) +
                           u" contains a wildcard character (* or ?); name "
                           u"one file.",
                       kErrorInvalidName};
    }
    // Both are checked before the old file goes, so that a name the editor
    // could not be given deletes nothing.
    const std::u16string keyPath = RootKeyName(key.root) + u"\\" + key.subKey;
    AnsiOrFail(host, fileName, u"file name");
    AnsiOrFail(host, keyPath, u"key path");
    if (FileExists(host, fileName)) {
      const std::uint32_t error = host.RemoveFile(fileName);
      if (error != kSuccess) {
        throw RunFailure{u"The existing file " + Quoted(fileName) +
                             u" cannot be deleted to make room for the "
                             u"export: " +
                             DeleteFailureReason(error) + u".",
                         error};
      }
    }
    return LaunchEditor(host, u"/e " + EditorArgument(fileName) + u" " +
                                  EditorArgument(keyPath));
  });
}

}  // namespace tolvu
