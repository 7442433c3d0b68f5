// Reads the registry as the tool left it, through the wide-character calls so
// that what the tool wrote through the ANSI calls is checked, not repeated.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tolvu_e2e {

struct RegValue {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> bytes;
};

bool operator==(const RegValue& a, const RegValue& b);
void PrintTo(const RegValue& value, std::ostream* out);

bool KeyExists(HKEY root, const std::wstring& path);

// The value `name` ("" for the key's default value) of the key, or nothing
// when the key or the value is absent.
std::optional<RegValue> ReadValue(HKEY root, const std::wstring& path,
                                  const std::wstring& name);

// The names of the key's subkeys and values; empty when the key is absent.
std::vector<std::wstring> SubKeyNames(HKEY root, const std::wstring& path);
std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path);

// Everything below the key, sorted: each subkey as its path from the key
// (`A\B`), each value as that path, a colon and its name (`A\B:Name`; the
// key's own values as `:Name`, the default value as `:`). Empty when the key
// is absent.
std::vector<std::wstring> KeyTree(HKEY root, const std::wstring& path);

// Creates the key (and those above it) and writes one value into it.
bool WriteValue(HKEY root, const std::wstring& path, const std::wstring& name,
                const RegValue& value);

// Removes the key with everything below it; an absent key is fine.
void DeleteKeyTree(HKEY root, const std::wstring& path);

// Shorthands for expected values.
RegValue Sz(const std::wstring& text);  // as the system stores it, with its 0
RegValue Binary(std::vector<std::uint8_t> bytes);
RegValue Dword(std::uint32_t number);

}  // namespace tolvu_e2e
