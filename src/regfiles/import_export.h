// The import and export commands, handed to the system registry editor.
#pragma once

#include <cstdint>
#include <string>

#include "cli/root_keys.h"
#include "host/host.h"

namespace tolvu {

// The editor's file name and, for an export, its key path, are quoted only
// when they hold a blank, a tab or a double quote, following the usual rules
// of Windows command-line parsing.
std::u16string EditorArgument(const std::u16string& text);

// A name ending in ".reg" in any case.
bool IsRegFileName(const std::u16string& fileName);

// The file names come as typed; the file meant is the name without its
// double quotes ("My Settings".reg is My Settings.reg).

// Launches the editor to import the file silently. A run-time failure
// passes to the caller. Returns the launch's exit status.
std::uint32_t ImportFile(Host& host, const std::u16string& typedName);

// Deletes an existing target file and launches the editor to export the key
// to it; a run-time failure is shown here and nothing is launched.
std::uint32_t ExportKey(Host& host, const KeyPath& key,
                        const std::u16string& typedName);

}  // namespace tolvu
