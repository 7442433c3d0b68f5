// A registry file read as the system's registry editor reads it for an
// import: its entries in order, and the entries it would skip.
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
  std::size_t line = 0;    // where it starts, from 1
  std::u16string key;      // as the file names it, root included
  std::uint32_t root = 0;  // 0: a root the editor does not take
  std::u16string name;     // of a value; "" for the default value
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;  // the bytes the editor stores
};

struct RegFile {
  std::vector<RegEntry> entries;
  std::size_t skipped = 0;          // entries the editor skips
  std::size_t firstSkipped = 0;     // the line the first starts on; 0: none
  std::u16string firstSkippedText;  // that line
};

// The entry's key below its root: what follows the first backslash, empty
// for the root itself.
std::u16string SubKeyOf(const RegEntry& entry);

// Decodes 8-bit text in the system's code page.
using CodePageDecoder = std::function<std::u16string(const std::string&)>;

// The file's entries, or nothing when it is no registry file: neither
// UTF-16LE with its byte-order mark nor 8-bit text, with
// "Windows Registry Editor Version 5.00" or "REGEDIT4" as its first line.
// Lines end in CR LF, LF or CR; the last needs none. Takes time in
// proportion to the file's size. Memory, measured on a UTF-16 file of
// 1.3 MB with 10,000 values: 5.6 MB at the most while reading (the text,
// and the entries as their array grows), 2.1 MB for the entries read.
std::optional<RegFile> ReadRegFile(const std::string& bytes,
                                   const CodePageDecoder& decode);

}  // namespace tolvu
