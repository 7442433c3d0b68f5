#include "regfiles/reg_file_reader.h"

#include <algorithm>
#include <utility>

#include "cli/data_types.h"
#include "cli/root_keys.h"
#include "host/numbers.h"
#include "host/text.h"

namespace tolvu {
namespace {

using Text = std::u16string;
using Bytes = std::vector<std::uint8_t>;

bool IsBlank(char16_t ch) { return ch == u' ' || ch == u'\t'; }

Bytes Utf16Bytes(const Text& text) {
  const std::string bytes = Utf16Le(text);
  return Bytes(bytes.begin(), bytes.end());
}

// Reads the file line by line, each line from a cursor that moves on over
// what it has read.
class Reader {
 public:
  Reader(Text text, const CodePageDecoder& decode, bool utf16)
      : text_(std::move(text)), decode_(decode), utf16_(utf16) {}

  // The next line, with the cursor at its start; false after the last.
  // Lines end in CR LF, LF or CR; a NUL ends the line's text, as the editor
  // reads it.
  bool NextLine() {
    if (next_ >= text_.size()) {
      return false;
    }
    const std::size_t end =
        std::min(text_.find_first_of(u"\r\n", next_), text_.size());
    const auto from = text_.begin() + static_cast<std::ptrdiff_t>(next_);
    const auto to = text_.begin() + static_cast<std::ptrdiff_t>(end);
    line_.assign(from, std::find(from, to, u'\0'));
    next_ = end + (text_.compare(end, 2, u"\r\n") == 0 ? 2 : 1);
    at_ = 0;
    ++number_;
    return true;
  }

  bool AtHeader() {
    SkipBlanks();
    return line_.compare(at_, Text::npos,
                         u"Windows Registry Editor Version 5.00") == 0 ||
           line_.compare(at_, Text::npos, u"REGEDIT4") == 0;
  }

  // Every entry after the header; one the editor cannot read is counted
  // once, by the line it starts on, however many lines it spans.
  RegFile ReadEntries() {
    while (NextLine()) {
      if (AtEnd()) {
        continue;
      }
      const std::size_t start = number_;
      const Text first = line_;
      const bool read = Take(u"[") ? ReadKey(start) : ReadValue(start);
      if (!read && file_.skipped++ == 0) {
        file_.firstSkipped = start;
        file_.firstSkippedText = first;
      }
    }
    return std::move(file_);
  }

 private:
  void SkipBlanks() {
    at_ = std::min(line_.find_first_not_of(u" \t", at_), line_.size());
  }

  // Nothing but blanks or a comment from the cursor on.
  bool AtEnd() {
    SkipBlanks();
    return at_ == line_.size() || line_[at_] == u';';
  }

  // Moves past the word when it is at the cursor.
  bool Take(const Text& word) {
    if (line_.compare(at_, word.size(), word) != 0) {
      return false;
    }
    at_ += word.size();
    return true;
  }

  // 1 to `most` hexadecimal digits.
  std::optional<std::uint64_t> Hex(std::size_t most) {
    const HexRun run = ReadHexDigits(line_, at_);
    if (run.end == at_ || run.end - at_ > most) {
      return std::nullopt;
    }
    at_ = run.end;
    return run.value;
  }

  // The text of a quoted string, from just after its opening quote, with
  // \\, \", \n and \r unescaped, up to past its closing quote. Nothing when
  // it does not close.
  std::optional<Text> Unquoted() {
    Text text;
    for (std::size_t end = 0;
         (end = line_.find_first_of(u"\"\\", at_)) != Text::npos;) {
      text.append(line_, at_, end - at_);
      at_ = end + 1;
      if (line_[end] == u'"') {
        return text;
      }
      if (at_ == line_.size()) {
        break;
      }
      const char16_t escaped = line_[at_++];
      text.push_back(escaped == u'n'   ? u'\n'
                     : escaped == u'r' ? u'\r'
                                       : escaped);
    }
    return std::nullopt;
  }

  // [KEY] or [-KEY], from after the [, the key up to the last ].
  bool ReadKey(std::size_t start) {
    const std::size_t close = line_.rfind(u']');
    if (at_ == line_.size() || IsBlank(line_[at_]) || close == Text::npos ||
        close < at_) {
      return false;
    }
    RegEntry entry;
    entry.line = start;
    entry.kind = Take(u"-") ? RegEntry::DeleteKey : RegEntry::Key;
    entry.key = line_.substr(at_, close - at_);
    entry.root = RegFileRootKey(entry.key.substr(0, entry.key.find(u'\\')))
                     .value_or(kNoRoot);
    key_.reset();
    if (entry.kind == RegEntry::Key) {
      key_ = file_.entries.size();
    } else if (entry.root == kNoRoot || SubKeyOf(entry).empty()) {
      return false;  // nothing the editor deletes
    }
    file_.entries.push_back(std::move(entry));
    return true;
  }

  // "name"=data or @=data.
  bool ReadValue(std::size_t start) {
    const bool named = Take(u"\"");
    if ((!named && !Take(u"@")) || !key_) {
      return false;  // no value, or no key open for it
    }
    RegEntry value = file_.entries[*key_];  // its key's names
    value.kind = RegEntry::Value;
    value.line = start;
    if (named) {
      std::optional<Text> name = Unquoted();
      if (!name) {
        return false;
      }
      value.name = std::move(*name);
    }
    SkipBlanks();
    if (!Take(u"=")) {
      return false;
    }
    SkipBlanks();
    using Form = bool (Reader::*)(RegEntry&);
    static constexpr struct {
      const char16_t* prefix;
      Form read;
    } kForms[] = {
        {u"\"", &Reader::ReadString},   {u"dword:", &Reader::ReadDword},
        {u"hex:", &Reader::ReadBinary}, {u"hex(", &Reader::ReadTypedHex},
        {u"-", &Reader::ReadDeletion},
    };
    const auto* form =
        std::find_if(std::begin(kForms), std::end(kForms),
                     [&](const auto& f) { return Take(f.prefix); });
    if (form == std::end(kForms) || !(this->*form->read)(value)) {
      return false;
    }
    file_.entries.push_back(std::move(value));
    return true;
  }

  // Each data form, from after its prefix; each reads the whole of its data
  // before it builds the bytes.
  bool ReadString(RegEntry& value) {
    const std::optional<Text> text = Unquoted();
    if (!text || !AtEnd()) {
      return false;
    }
    value.type = kRegSz;
    value.data = Utf16Bytes(*text + u'\0');
    return true;
  }

  bool ReadDword(RegEntry& value) {
    SkipBlanks();
    const std::optional<std::uint64_t> number = Hex(8);
    if (!number || !AtEnd()) {
      return false;
    }
    value.type = kRegDword;
    value.data = DwordBytes(static_cast<std::uint32_t>(*number));
    return true;
  }

  bool ReadBinary(RegEntry& value) {
    value.type = kRegBinary;
    return ReadHexBytes(value);
  }

  bool ReadTypedHex(RegEntry& value) {  // hex(N): with N the type code
    const std::optional<std::uint64_t> type = Hex(8);
    if (!type || !Take(u"):")) {
      return false;
    }
    value.type = static_cast<std::uint32_t>(*type);
    return ReadHexBytes(value);
  }

  bool ReadDeletion(RegEntry& value) {
    value.kind = RegEntry::DeleteValue;
    return AtEnd();
  }

  // Comma-separated bytes, on over the next lines while a backslash ends
  // them.
  bool ReadHexBytes(RegEntry& value) {
    Bytes& data = value.data;
    for (bool more = true; more;) {
      SkipBlanks();
      const std::optional<std::uint64_t> byte = Hex(Text::npos);
      if (byte) {
        if (*byte > 0xFF) {
          return false;
        }
        data.push_back(static_cast<std::uint8_t>(*byte));
        more = Take(u",");
      } else if (Take(u"\\")) {
        if (!AtEnd()) {
          return false;
        }
        // On the next line that holds more than blanks or a comment.
        do {
          more = NextLine();
        } while (more && AtEnd());
        if (more && !HexDigitValue(line_[at_])) {
          return false;
        }
      } else {
        more = false;
      }
    }
    if (!AtEnd()) {
      return false;
    }
    if (value.type == kRegSz || value.type == kRegExpandSz ||
        value.type == kRegMultiSz) {
      StoreAsUtf16(data);
    }
    return true;
  }

  // Strings in hex form are stored as UTF-16: from an 8-bit file in the
  // system's code page, from a UTF-16 one with their closing zero added
  // where it is missing.
  void StoreAsUtf16(Bytes& data) const {
    if (!utf16_) {
      data = Utf16Bytes(decode_(std::string(data.begin(), data.end())));
    } else if (data.size() >= 2 && data.size() % 2 == 0 &&
               (data[data.size() - 2] != 0 || data.back() != 0)) {
      data.insert(data.end(), {0, 0});
    }
  }

  const Text text_;
  const CodePageDecoder& decode_;
  const bool utf16_;
  std::size_t next_ = 0;    // where the next line starts in the text
  std::size_t number_ = 0;  // of the line read, from 1
  Text line_;               // the line read
  std::size_t at_ = 0;      // the cursor in it
  RegFile file_;
  std::optional<std::size_t> key_;  // the entry values go to; none after [-KEY]
};

}  // namespace

std::u16string SubKeyOf(const RegEntry& entry) {
  const std::size_t cut = entry.key.find(u'\\');
  return cut == Text::npos ? u"" : entry.key.substr(cut + 1);
}

std::optional<RegFile> ReadRegFile(const std::string& bytes,
                                   const CodePageDecoder& decode) {
  const bool utf16 = bytes.compare(0, 2, "\xFF\xFE") == 0;
  Reader reader(utf16 ? FromUtf16Le(bytes, 2) : decode(bytes), decode, utf16);
  if (!reader.NextLine() || !reader.AtHeader()) {
    return std::nullopt;
  }
  return reader.ReadEntries();
}

}  // namespace tolvu
