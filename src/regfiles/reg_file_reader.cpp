#include "regfiles/reg_file_reader.h"

#include <algorithm>
#include <utility>

#include "cli/root_keys.h"
#include "host/text.h"

namespace tolvu {
namespace {

using Text = std::u16string;

constexpr std::uint32_t kPerformanceData = 0x80000004;

bool IsBlank(char16_t ch) { return ch == u' ' || ch == u'\t'; }

std::size_t SkipBlanks(const Text& line, std::size_t at) {
  while (at < line.size() && IsBlank(line[at])) {
    ++at;
  }
  return at;
}

// Nothing but blanks or a comment from `at` on.
bool EndsHere(const Text& line, std::size_t at) {
  at = SkipBlanks(line, at);
  return at == line.size() || line[at] == u';';
}

int HexDigit(char16_t ch) {
  if (ch >= u'0' && ch <= u'9') {
    return ch - u'0';
  }
  if ((ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F')) {
    return (ch | 0x20) - u'a' + 10;
  }
  return -1;
}

bool StartsWith(const Text& line, std::size_t at, const Text& word) {
  return line.compare(at, word.size(), word) == 0;
}

void AppendUtf16(std::vector<std::uint8_t>& data, const Text& text) {
  for (const char16_t unit : text) {
    data.push_back(static_cast<std::uint8_t>(unit & 0xFFU));
    data.push_back(static_cast<std::uint8_t>(unit >> 8U));
  }
}

// Lines end in CR LF, LF or CR; a NUL ends the line's text, as the editor
// reads it.
struct Lines {
  const Text& text;
  std::size_t at = 0;
  std::size_t number = 0;

  bool Next(Text* line) {
    if (at >= text.size()) {
      return false;
    }
    const std::size_t end =
        std::min(text.find_first_of(u"\r\n", at), text.size());
    *line = text.substr(at, end - at);
    line->resize(std::min(line->find(u'\0'), line->size()));
    at = end + (text.compare(end, 2, u"\r\n") == 0 ? 2 : 1);
    ++number;
    return true;
  }
};

// The text of a quoted string from just after its opening quote, with \\,
// \", \n and \r unescaped; *at moves past the closing quote. Nothing when
// it does not close.
std::optional<Text> Unquote(const Text& line, std::size_t* at) {
  Text text;
  for (std::size_t i = *at; i < line.size(); ++i) {
    char16_t ch = line[i];
    if (ch == u'"') {
      *at = i + 1;
      return text;
    }
    if (ch == u'\\') {
      if (++i == line.size()) {
        return std::nullopt;
      }
      ch = line[i] == u'n' ? u'\n' : line[i] == u'r' ? u'\r' : line[i];
    }
    text.push_back(ch);
  }
  return std::nullopt;
}

// Comma-separated bytes from `at`; false when malformed. *more: a
// backslash continues them on the next line.
bool HexBytes(const Text& line, std::size_t at, std::vector<std::uint8_t>* data,
              bool* more) {
  *more = false;
  while (at < line.size()) {
    at = SkipBlanks(line, at);
    unsigned value = 0;
    const std::size_t start = at;
    for (; at < line.size() && HexDigit(line[at]) >= 0; ++at) {
      value = std::min(value * 16 + static_cast<unsigned>(HexDigit(line[at])),
                       0x100U);
    }
    if (at == start) {
      *more = at < line.size() && line[at] == u'\\';
      return EndsHere(line, *more ? at + 1 : at);
    }
    if (value > 0xFF) {
      return false;
    }
    data->push_back(static_cast<std::uint8_t>(value));
    if (at < line.size() && line[at] != u',') {
      return EndsHere(line, at);
    }
    ++at;
  }
  return true;
}

// dword: with 1 to 8 hexadecimal digits.
std::optional<std::uint32_t> Dword(const Text& line, std::size_t at) {
  at = SkipBlanks(line, at);
  std::uint32_t value = 0;
  const std::size_t start = at;
  for (; at < line.size() && HexDigit(line[at]) >= 0; ++at) {
    value = value * 16 + static_cast<std::uint32_t>(HexDigit(line[at]));
  }
  if (at == start || at - start > 8 || !EndsHere(line, at)) {
    return std::nullopt;
  }
  return value;
}

class Reader {
 public:
  Reader(const CodePageDecoder& decode, bool utf16)
      : decode_(decode), utf16_(utf16) {}

  void Read(Lines& lines, const Text& line) {
    const std::size_t at = SkipBlanks(line, 0);
    if (at == line.size() || line[at] == u';') {
      return;
    }
    number_ = lines.number;
    const bool read = line[at] == u'['
                          ? ReadKey(line, at + 1)
                          : (line[at] == u'@' || line[at] == u'"') &&
                                ReadValue(lines, line, at);
    if (!read) {
      Unreadable(number_, line);
    }
  }

  RegFile Take() { return std::move(file_); }

 private:
  void Unreadable(std::size_t number, const Text& line) {
    if (file_.unreadableLines++ == 0) {
      file_.firstUnreadable = number;
      file_.firstUnreadableText = line;
    }
  }

  // [KEY] or [-KEY], the key up to the last ]; the editor takes only the
  // long root names.
  bool ReadKey(const Text& line, std::size_t at) {
    const std::size_t close = line.rfind(u']');
    if (at == line.size() || IsBlank(line[at]) || close == Text::npos ||
        close < at) {
      return false;
    }
    RegEntry entry;
    entry.line = number_;
    Text path = line.substr(at, close - at);
    if (!path.empty() && path[0] == u'-') {
      entry.kind = RegEntry::DeleteKey;
      path.erase(0, 1);
    }
    const std::size_t cut = std::min(path.find(u'\\'), path.size());
    const Text rootName = ToUpperAscii(path.substr(0, cut));
    const std::optional<std::uint32_t> root = RootKeyHandle(rootName);
    if (root && *root != kPerformanceData && RootKeyName(*root) == rootName) {
      entry.root = *root;
      entry.subKey = path.substr(std::min(cut + 1, path.size()));
    } else {
      entry.subKey = path;
    }
    if (entry.kind == RegEntry::DeleteKey) {
      key_.reset();
      if (entry.root == 0 || entry.subKey.empty()) {
        return false;  // nothing the editor deletes
      }
    } else {
      key_ = entry;
    }
    file_.entries.push_back(std::move(entry));
    return true;
  }

  // "name"=data or @=data, from the quote or @.
  bool ReadValue(Lines& lines, const Text& line, std::size_t at) {
    if (!key_) {
      return false;  // no key open: the editor skips it
    }
    RegEntry value = *key_;
    value.kind = RegEntry::Value;
    value.line = number_;
    if (line[at] == u'"') {
      ++at;
      const std::optional<Text> name = Unquote(line, &at);
      if (!name) {
        return false;
      }
      value.name = *name;
    } else {
      ++at;
    }
    at = SkipBlanks(line, at);
    if (at == line.size() || line[at] != u'=') {
      return false;
    }
    std::size_t end = line.size();
    while (end > at && IsBlank(line[end - 1])) {
      --end;
    }
    const std::size_t start = std::min(SkipBlanks(line, at + 1), end);
    const Text data = line.substr(start, end - start);
    if (!ReadData(lines, data, value)) {
      return false;
    }
    file_.entries.push_back(std::move(value));
    return true;
  }

  bool ReadData(Lines& lines, const Text& data, RegEntry& value) {
    std::size_t at = 0;
    if (StartsWith(data, 0, u"-")) {
      value.kind = RegEntry::DeleteValue;
      return EndsHere(data, 1);
    }
    if (StartsWith(data, 0, u"\"")) {
      ++at;
      const std::optional<Text> text = Unquote(data, &at);
      value.type = 1;  // REG_SZ
      AppendUtf16(value.data, text.value_or(u""));
      value.data.insert(value.data.end(), {0, 0});
      return text && EndsHere(data, at);
    }
    if (StartsWith(data, 0, u"dword:")) {
      const std::optional<std::uint32_t> number = Dword(data, 6);
      value.type = 4;  // REG_DWORD
      for (unsigned shift = 0; shift < 32; shift += 8) {
        value.data.push_back(
            static_cast<std::uint8_t>(number.value_or(0) >> shift));
      }
      return number.has_value();
    }
    if (StartsWith(data, 0, u"hex:")) {
      value.type = 3;  // REG_BINARY
      return ReadHex(lines, data, 4, value);
    }
    if (!StartsWith(data, 0, u"hex(")) {
      return false;
    }
    at = 4;
    for (; at < data.size() && HexDigit(data[at]) >= 0; ++at) {
      value.type =
          value.type * 16 + static_cast<std::uint32_t>(HexDigit(data[at]));
    }
    return at > 4 && at <= 12 && StartsWith(data, at, u"):") &&
           ReadHex(lines, data, at + 2, value);
  }

  // The bytes, over continuation lines; blank and comment lines between
  // them are passed over. Strings in hex form are stored as UTF-16: from an
  // 8-bit file in the system's code page, from a UTF-16 one with their
  // closing zero added where it is missing.
  bool ReadHex(Lines& lines, const Text& first, std::size_t at,
               RegEntry& value) {
    bool more = false;
    if (!HexBytes(first, at, &value.data, &more)) {
      return false;
    }
    Text line;
    while (more && lines.Next(&line)) {
      at = SkipBlanks(line, 0);
      if (EndsHere(line, at)) {
        continue;
      }
      if (HexDigit(line[at]) < 0 || !HexBytes(line, at, &value.data, &more)) {
        Unreadable(lines.number, line);
        return false;
      }
    }
    std::vector<std::uint8_t>& data = value.data;
    if (value.type != 1 && value.type != 2 && value.type != 7) {
      return true;
    }
    if (!utf16_) {
      const Text text = decode_(std::string(data.begin(), data.end()));
      data.clear();
      AppendUtf16(data, text);
    } else if (data.size() >= 2 && data.size() % 2 == 0 &&
               (data[data.size() - 2] != 0 || data.back() != 0)) {
      data.insert(data.end(), {0, 0});
    }
    return true;
  }

  const CodePageDecoder& decode_;
  bool utf16_;
  RegFile file_;
  std::optional<RegEntry> key_;  // where values go; none after [-KEY]
  std::size_t number_ = 0;       // of the line read
};

}  // namespace

std::optional<RegFile> ReadRegFile(const std::string& bytes,
                                   const CodePageDecoder& decode) {
  const bool utf16 =
      bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
  const Text text = utf16 ? FromUtf16Le(bytes, 2) : decode(bytes);
  Lines lines{text};
  Text line;
  if (!lines.Next(&line)) {
    return std::nullopt;
  }
  const Text header = line.substr(SkipBlanks(line, 0));
  if (header != u"Windows Registry Editor Version 5.00" &&
      header != u"REGEDIT4") {
    return std::nullopt;
  }
  Reader reader(decode, utf16);
  while (lines.Next(&line)) {
    reader.Read(lines, line);
  }
  return reader.Take();
}

}  // namespace tolvu
