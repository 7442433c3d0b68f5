// The registry after an import, compared with what the file's entries, in
// order, leave: the last entry for a value counts, a deleted key takes its
// sub keys and values with it, a key named again exists again.
#pragma once

#include <string>

#include "host/host.h"
#include "regfiles/reg_file_reader.h"

namespace tolvu {

// Reads the keys and values back through the file's own roots. Raises a
// RunFailure with 1013 (ERROR_CANTWRITE) when entries are not as the file
// gives them (how many, and the one on the earliest line: its key, value,
// what the file gives and what the registry holds, or why it cannot be
// read), else with 13 (ERROR_INVALID_DATA) when the editor skipped entries
// of the file (how many, and the first by the number and text of the line
// it starts on). Returns when neither. Names are compared as the registry
// compares them (Host::UpperCase).
void CheckImported(Host& host, const std::u16string& fileName,
                   const RegFile& file);

}  // namespace tolvu
