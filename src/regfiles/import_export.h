// The import and export commands, handed to the system registry editor,
// which the tool starts and waits for.
#pragma once

#include <cstdint>
#include <string>

#include "cli/root_keys.h"
#include "host/host.h"

namespace tolvu {

// The file a typed name means: the name without its double quotes, which
// only group blanks ("My Settings".reg is My Settings.reg); no Windows file
// name holds one.
std::u16string FileNameOf(const std::u16string& typed);

// The editor's file name and, for an export, its key path, are quoted only
// when they hold a blank, a tab or a double quote, following the usual rules
// of Windows command-line parsing.
std::u16string EditorArgument(const std::u16string& text);

// A name ending in ".reg" in any case.
bool IsRegFileName(const std::u16string& fileName);

// Checks that the editor is there, reads the whole file, has the editor
// import it silently by its full path, waits for it, and compares the
// registry with the file's entries. A file that is missing, a folder or
// unreadable is described, with the error as the status, and one that is
// no registry file with 13; nothing is launched then. Afterwards entries
// not as the file gives them are described with 1013, entries the editor
// skipped with 13. A name the code page cannot hold is a run-time failure
// passed to the caller. Returns the exit status.
std::uint32_t ImportFile(Host& host, const std::u16string& fileName);

// Has the editor export the key to a new file beside the target and waits
// for it; a whole new file then replaces the target in one rename. The key,
// the file's folder, an old file of that name and the editor are all
// checked before anything is touched, and an old file stays as it was
// until it is replaced. Run-time failures are shown here. Returns the exit
// status.
std::uint32_t ExportKey(Host& host, const KeyPath& key,
                        const std::u16string& fileName);

}  // namespace tolvu
