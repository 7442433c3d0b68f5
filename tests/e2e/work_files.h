// Reads what a program left in its working folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvu_e2e {

// The bytes of a file, or nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(
    const std::wstring& path);

// The names of the entries of a folder, sorted.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

// A file of `bytes`, replacing any file of that name; false on failure.
bool WriteFileBytes(const std::wstring& path,
                    const std::vector<std::uint8_t>& bytes);

// UTF-16LE bytes of `text`, as Windows keeps wide text in files.
std::vector<std::uint8_t> Utf16Bytes(const std::wstring& text);

}  // namespace tolvu_e2e
