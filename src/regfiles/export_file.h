// The file the registry editor writes an export into: a name of its own
// beside the target, with the old file's access list, put in the target's
// place in one rename only once it holds a whole export whose data is on
// the disk. The target stays as it was until then.
#pragma once

#include <string>

#include "host/host.h"

namespace tolvu {

struct ExportFiles {
  std::u16string target;   // the file named, which the export replaces
  std::u16string newFile;  // the one the editor writes
  bool replaces = false;   // an old target is there
};

// Reserves a name beside the target that no file has, with this process's
// number in it, by creating it empty: two runs never write the same file,
// and no file of the user's is written over. The caller owns the file.
// A RunFailure when none can be made.
std::u16string ReserveNewFile(Host& host, const std::u16string& target);

// Gives the new file the old target's access list, before anything is
// written into it. A RunFailure naming the target when the list cannot be
// read or set.
void CopyAccessList(Host& host, const ExportFiles& files);

// Puts the new file in the target's place in one rename, once it is seen
// to hold a whole export and its data is on the disk. A RunFailure when it
// does not (82) or when that cannot be done; the target is as it was then.
void ReplaceWithWholeExport(Host& host, const ExportFiles& files);

// Removes the new file. Returns nothing once it is gone, otherwise a
// sentence that names the file left behind.
std::u16string RemoveNewFile(Host& host, const std::u16string& newFile);

}  // namespace tolvu
