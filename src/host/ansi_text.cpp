#include "host/ansi_text.h"

#include <optional>

#include "host/run_failure.h"
#include "host/status_codes.h"
#include "host/text.h"

namespace tolvu {
namespace {

// The character at `pos`: one unit, or a surrogate pair.
std::u16string CharacterAt(const std::u16string& text, std::size_t pos) {
  if (IsHighSurrogate(text[pos]) && pos + 1 < text.size() &&
      IsLowSurrogate(text[pos + 1])) {
    return text.substr(pos, 2);
  }
  return text.substr(pos, 1);
}

char32_t CodePointOf(const std::u16string& character) {
  if (character.size() == 2) {
    return CombineSurrogates(character[0], character[1]);
  }
  return character[0];
}

RunFailure Unrepresentable(const std::u16string& character,
                           const std::u16string& text,
                           const std::u16string& what,
                           const std::u16string& reason) {
  // A lone surrogate is half of a character and cannot be shown: name it by
  // its code alone, and say what it is, whatever the code page.
  std::u16string name = CodePointText(CodePointOf(character));
  const bool lone = character.size() == 1 && IsSurrogate(character[0]);
  if (!lone) {
    name = Quoted(character) + u" (" + name + u")";
  }
  return RunFailure{u"The character " + name + u" in the " + what + u" " +
                        Quoted(text) + u" " +
                        (lone ? u"is half of a surrogate pair, not a whole "
                                u"character"
                              : reason) +
                        u".",
                    kErrorNoUnicodeTranslation};
}

}  // namespace

std::string AnsiOrFail(Host& host, const std::u16string& text,
                       const std::u16string& what) {
  if (std::optional<std::string> ansi = host.ToAnsi(text)) {
    return *ansi;
  }
  for (std::size_t pos = 0; pos < text.size();) {
    const std::u16string character = CharacterAt(text, pos);
    if (!host.ToAnsi(character)) {
      throw Unrepresentable(character, text, what,
                            u"cannot be represented in the system code page");
    }
    pos += character.size();
  }
  throw RunFailure{u"The " + what + u" " + Quoted(text) +
                       u" cannot be represented in the system code page.",
                   kErrorNoUnicodeTranslation};
}

std::string SingleByteAnsiOrFail(Host& host, const std::u16string& text,
                                 const std::u16string& what) {
  std::string bytes;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::u16string character = CharacterAt(text, pos);
    const std::optional<std::string> ansi = host.ToSystemCodePage(character);
    if (!ansi || ansi->size() != 1) {
      throw Unrepresentable(character, text, what,
                            u"is not a single byte in the system code page");
    }
    bytes += *ansi;
    pos += character.size();
  }
  return bytes;
}

}  // namespace tolvu
