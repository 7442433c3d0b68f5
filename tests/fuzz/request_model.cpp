#include "request_model.h"

#include <optional>

#include "support/code_pages.h"
#include "tool_identity.h"

namespace tolvu {
namespace {

constexpr std::size_t kMostArguments = 10;

struct RootKeyRow {
  const char16_t* abbreviation;
  const char16_t* longName;
  std::uint32_t handle;
};

constexpr RootKeyRow kRootKeyRows[] = {
    {u"HKLM", u"HKEY_LOCAL_MACHINE", 0x80000002},
    {u"HKCU", u"HKEY_CURRENT_USER", 0x80000001},
    {u"HKU", u"HKEY_USERS", 0x80000003},
    {u"HKCC", u"HKEY_CURRENT_CONFIG", 0x80000005},
    {u"HKCR", u"HKEY_CLASSES_ROOT", 0x80000000},
    {u"HKDD", u"HKEY_DYN_DATA", 0x80000006},
    {u"HKPD", u"HKEY_PERFORMANCE_DATA", 0x80000004},
};

struct DataTypeRow {
  const char16_t* name;
  std::uint32_t code;
};

constexpr DataTypeRow kDataTypeRows[] = {
    {u"REG_SZ", kRegSzCode},
    {u"REG_BINARY", kRegBinaryCode},
    {u"REG_DWORD", kRegDwordCode},
};

using tolvu_identity::kToolTitle;
using tolvu_identity::kToolTitleAndVersion;

// Blanks and tabs outside quotes end an argument; every quote toggles
// quoting and stays in the argument.
std::vector<std::u16string> Arguments(const std::u16string& text) {
  std::vector<std::u16string> args;
  bool between = true;
  bool quoted = false;
  for (const char16_t ch : text) {
    if (!quoted && (ch == u' ' || ch == u'\t')) {
      between = true;
      continue;
    }
    if (between) {
      if (args.size() == kMostArguments) {
        break;
      }
      args.emplace_back();
      between = false;
    }
    quoted = ch == u'"' ? !quoted : quoted;
    args.back() += ch;
  }
  return args;
}

// Argument n, counted from 1; empty when absent.
std::u16string Nth(const std::vector<std::u16string>& args, std::size_t n) {
  return n <= args.size() ? args[n - 1] : std::u16string();
}

// Case is folded in ASCII only.
std::u16string Upper(std::u16string text) {
  for (char16_t& ch : text) {
    if (ch >= u'a' && ch <= u'z') {
      ch = static_cast<char16_t>(ch - u'a' + u'A');
    }
  }
  return text;
}

std::u16string Lower(std::u16string text) {
  for (char16_t& ch : text) {
    if (ch >= u'A' && ch <= u'Z') {
      ch = static_cast<char16_t>(ch - u'A' + u'a');
    }
  }
  return text;
}

// At most one quote off each end.
std::u16string Unquoted(std::u16string text) {
  if (!text.empty() && text.front() == u'"') {
    text.erase(text.begin());
  }
  if (!text.empty() && text.back() == u'"') {
    text.pop_back();
  }
  return text;
}

// Every quote off.
std::u16string WithoutQuotes(const std::u16string& text) {
  std::u16string name;
  for (const char16_t ch : text) {
    if (ch != u'"') {
      name += ch;
    }
  }
  return name;
}

bool EndsIn(const std::u16string& text, const std::u16string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::optional<std::uint32_t> RootKeyOf(const std::u16string& name) {
  const std::u16string upper = Upper(name);
  for (const RootKeyRow& row : kRootKeyRows) {
    if (upper == row.abbreviation || upper == row.longName) {
      return row.handle;
    }
  }
  return upper == u"NONE" ? std::optional<std::uint32_t>(0) : std::nullopt;
}

std::u16string LongNameOf(std::uint32_t handle) {
  for (const RootKeyRow& row : kRootKeyRows) {
    if (row.handle == handle) {
      return row.longName;
    }
  }
  return u"";
}

std::optional<std::uint32_t> DataTypeOf(const std::u16string& name) {
  const std::u16string upper = Upper(name);
  for (const DataTypeRow& row : kDataTypeRows) {
    if (upper == row.name) {
      return row.code;
    }
  }
  return std::nullopt;
}

std::u16string Widened(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

// The first name beside the target, with the process number, that no file
// had: the run reserves it for the editor.
std::u16string NewFileOf(const std::u16string& target,
                         const std::map<std::u16string, TestFile>& filesBefore,
                         std::uint32_t processId) {
  const std::u16string stem =
      target + u".tolvu-" + Widened(std::to_string(processId));
  std::u16string name = stem + u".reg";
  for (int n = 2; filesBefore.count(name) != 0; ++n) {
    name = stem + u"-" + Widened(std::to_string(n)) + u".reg";
  }
  return name;
}

}  // namespace

ExpectedRequest ExpectRequest(const std::u16string& commandText) {
  const std::vector<std::u16string> args = Arguments(commandText);
  const std::u16string keyArgument = Nth(args, 2);

  ExpectedRequest request;
  request.command = Lower(Nth(args, 1));
  std::u16string rootName = u"NONE";
  const std::size_t backslash = keyArgument.find(u'\\');
  if (backslash != std::u16string::npos) {
    rootName = Unquoted(keyArgument.substr(0, backslash));
    request.subKey = Unquoted(keyArgument.substr(backslash + 1));
  }
  const std::optional<std::uint32_t> root = RootKeyOf(rootName);
  const std::optional<std::uint32_t> type =
      DataTypeOf(Nth(args, 5).empty() ? u"REG_SZ" : Nth(args, 5));
  request.root = root.value_or(0);
  request.dataType = type.value_or(kRegSzCode);

  const std::u16string& command = request.command;
  const bool add = command == u"add" || command == u"create";
  const bool remove = command == u"remove" || command == u"delete";
  const bool import = command == u"import";
  const bool exportKey = command == u"export";
  // An import's argument 2 is a file name, not a key: its root goes untested.
  request.refused =
      !type || (!root && !import) || !(add || remove || import || exportKey);
  // remove unquotes the key once more.
  request.registryKey = remove ? Unquoted(request.subKey) : request.subKey;
  if (import || exportKey) {
    request.fileName = WithoutQuotes(import ? keyArgument : Nth(args, 3));
    const bool regFile = EndsIn(Lower(request.fileName), u".reg");
    request.refused =
        request.refused || !regFile || (exportKey && request.root == 0);
  }
  if (request.refused) {
    request.fileName.clear();
  }
  return request;
}

std::vector<std::string> ExpectedEditorArguments(
    const ExpectedRequest& request,
    const std::map<std::u16string, TestFile>& filesBefore,
    std::uint32_t processId,
    const std::function<std::u16string(const std::u16string&)>& fullPath) {
  if (request.refused) {
    return {};
  }
  std::vector<std::u16string> wanted;
  if (request.command == u"import") {
    wanted = {u"/s", fullPath(request.fileName)};
  } else if (request.command == u"export") {
    wanted = {u"/e",
              fullPath(NewFileOf(request.fileName, filesBefore, processId)),
              LongNameOf(request.root) + u"\\" + request.subKey};
  }
  std::vector<std::string> utf8;
  for (const std::u16string& text : wanted) {
    const std::optional<std::string> bytes = EncodeUtf8(text);
    if (!bytes) {
      return {};  // the tool refuses to launch with it
    }
    utf8.push_back(*bytes);
  }
  return utf8;
}

bool IsRegistryFileText(const std::string& bytes) {
  std::string line;  // ASCII is all a header holds
  const bool utf16 = bytes.rfind("\xFF\xFE", 0) == 0;
  for (std::size_t i = utf16 ? 2 : 0; i + (utf16 ? 1 : 0) < bytes.size();
       i += utf16 ? 2 : 1) {
    const bool wide = utf16 && bytes[i + 1] != 0;
    const char ch = wide ? '?' : bytes[i];
    if (ch == '\r' || ch == '\n' || ch == '\0') {
      break;
    }
    line.push_back(ch);
  }
  line.erase(0, line.find_first_not_of(" \t"));
  return line == "Windows Registry Editor Version 5.00" || line == "REGEDIT4";
}

BoxKind KindOfBox(const ShownBox& box) {
  const std::u16string& text = box.text;
  if (box.icon == Icon::Information && box.title == kToolTitleAndVersion &&
      text.rfind(u"Usage:", 0) == 0 &&
      EndsIn(text, std::u16string(kToolTitleAndVersion) +
                       u" - Registry Console Tool")) {
    return BoxKind::Usage;
  }
  if (box.icon == Icon::None && box.title == kToolTitle && !text.empty()) {
    return BoxKind::Description;
  }
  if (box.icon == Icon::Exclamation && box.title == u"Error" && !text.empty()) {
    return BoxKind::LaunchError;
  }
  return BoxKind::Unknown;
}

}  // namespace tolvu
