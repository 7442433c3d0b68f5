// A registry file read as the system's registry editor reads it for an
// import: its entries in order, and the lines it would skip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tolvu {

struct RegEntry {
  // Key: [KEY] creates it; DeleteKey: [-KEY]; Value: "name"=data or @=data;
  // DeleteValue: "name"=-.
  enum Kind { Key, DeleteKey, Value, DeleteValue } kind = Key;
  std::size_t line = 0;    // from 1
  std::u16string key;      // as the file names it, root included
  std::uint32_t root = 0;  // 0: a root name the editor does not take
  std::u16string subKey;   // empty for the root itself
  std::u16string name;     // of a value; "" for the default value
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;  // the bytes the editor stores
};

struct RegFile {
  std::vector<RegEntry> entries;
  std::size_t unreadableLines = 0;  // lines the editor skips
  std::size_t firstUnreadable = 0;  // its number; 0 when none
  std::u16string firstUnreadableText;
};

// Decodes 8-bit text in the system's code page.
using CodePageDecoder = std::function<std::u16string(const std::string&)>;

// The file's entries, or nothing when it is no registry file: neither
// UTF-16LE with its byte-order mark nor 8-bit text, with
// "Windows Registry Editor Version 5.00" or "REGEDIT4" as its first line.
// Lines end in CR LF, LF or CR; the last needs none. Takes time and memory
// in proportion to the file's size.
std::optional<RegFile> ReadRegFile(const std::string& bytes,
                                   const CodePageDecoder& decode);

}  // namespace tolvu
