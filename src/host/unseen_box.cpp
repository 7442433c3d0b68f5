#include "host/unseen_box.h"

#include "host/text.h"

namespace tolvu {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6U)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3FU)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12U)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6U) & 0x3FU)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3FU)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18U)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12U) & 0x3FU)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6U) & 0x3FU)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3FU)));
  }
}

}  // namespace

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    char32_t cp = ch;
    if (IsHighSurrogate(ch) && i + 1 < text.size() &&
        IsLowSurrogate(text[i + 1])) {
      cp = CombineSurrogates(ch, text[i + 1]);
      ++i;
    } else if (IsSurrogate(ch)) {
      cp = kReplacement;
    }
    AppendUtf8(cp, out);
  }
  return out;
}

bool NobodySeesBoxes(Host& host) {
  return host.SessionId() == 0 || !host.WindowStationVisible();
}

std::string UnseenBoxText(const std::u16string& title,
                          const std::u16string& text) {
  return Utf8(title + u": " + text + u"\r\n");
}

}  // namespace tolvu
