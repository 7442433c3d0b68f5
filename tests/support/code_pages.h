// The recording host's code pages: Windows-1252, its system code page, and
// UTF-8, the process code page the manifest asks for.
#pragma once

#include <optional>
#include <string>

namespace tolvu {

// Nothing when a character has no byte in Windows-1252.
std::optional<std::string> EncodeCp1252(const std::u16string& text);

// Every byte has a character; the five undefined ones their C1 control.
std::u16string DecodeCp1252(const std::string& bytes);

// Nothing for a lone surrogate, which has no UTF-8 form.
std::optional<std::string> EncodeUtf8(const std::u16string& text);

// Well-formed UTF-8 as UTF-16; as the process code page gives it.
std::u16string DecodeUtf8(const std::string& bytes);

// Upper case as the recording host's registry folds names: right for the
// ASCII and the Cyrillic letters, and no others.
std::u16string UpperCaseAsciiAndCyrillic(std::u16string text);

}  // namespace tolvu
