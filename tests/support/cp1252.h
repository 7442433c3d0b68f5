// Windows-1252, the ANSI code page of the recording host.
#pragma once

#include <optional>
#include <string>

namespace tolvu {

// Nothing when a character has no byte in Windows-1252.
std::optional<std::string> EncodeCp1252(const std::u16string& text);

// Every byte has a character.
std::u16string DecodeCp1252(const std::string& bytes);

}  // namespace tolvu
