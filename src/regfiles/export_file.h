// The file the registry editor writes an export into: a name of its own
// beside the target, created with the old file's access list, put in the
// target's place in one rename only once it holds a whole export of the key
// whose data is on the disk. The target stays as it was until then.
#pragma once

#include <string>

#include "host/host.h"

namespace tolvu {

struct ExportFiles {
  std::u16string target;   // the file named, which the export replaces
  std::u16string newFile;  // the one the editor writes
  bool replaces = false;   // an old target is there
};

// A RunFailure when the target's folder is not there.
void RequireFolderOf(Host& host, const std::u16string& fileName);

// Whether an old file of the name waits to be replaced. A RunFailure when
// it is one the export cannot replace: a folder, a hidden, system or
// read-only file, or one that cannot be looked up.
bool OldFileToReplace(Host& host, const std::u16string& target);

// Reserves a name beside the target that no file has, with this process's
// number in it, by creating it empty: two runs never write the same file,
// and no file of the user's is written over. When it replaces an old file,
// the new one has the old one's access list from its first moment, and
// only when the old one's owner is one to trust. The caller owns the file.
// A RunFailure when none can be made.
std::u16string ReserveNewFile(Host& host, const std::u16string& target,
                              bool replaces);

// Puts the new file in the target's place in one rename, once it is seen
// to hold a whole export of the key (as the editor was given it) and its
// data is on the disk. A RunFailure when it does not (82) or when that
// cannot be done; the target is as it was then.
void ReplaceWithWholeExport(Host& host, const ExportFiles& files,
                            const std::u16string& keyPath);

// Removes the new file. Returns nothing once it is gone, otherwise a
// sentence that names the file left behind.
std::u16string RemoveNewFile(Host& host, const std::u16string& newFile);

}  // namespace tolvu
