// A transfer that has not ended yet, as its record (in the running program)
// or its journal (after the program was killed) tells it, and the two ways
// to end it: undo it, or finish a committed one. Either way only what the
// transfer itself made is deleted: the files it created and, once it is
// committed, what its holding folders hold.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "files/file_ops.h"

namespace tolvashu {

struct UnfinishedTransfer {
  std::string destination;  // the destination folder, ending with a separator
  std::string id;           // names its holding folders
  // Paths relative to the destination: the files it created, in the order
  // it created them, and the folders ("" or ending with '\') in which it
  // made a holding folder.
  std::vector<std::string> created;
  std::vector<std::string> holding_folders;
  std::vector<std::string> made_folders;  // in the order they were made
  // The created paths where a file stood that the transfer moved (or was
  // about to move) into its folder's holding folder.
  std::set<std::string> moved_aside;
};

// Whether the next start looks for a holding folder in `folder` (relative)
// even when no record names it: the destination itself and its data
// subfolders, as spelt here. A holding folder anywhere else is found only
// through its record, which must be durable before the folder is made.
bool SearchedForHoldingFolders(const std::string& folder);

// Removes the files the transfer created (newest first), moves every held
// file back to its name, makes that durable, and removes the emptied
// holding folders, the folders it made (once empty) and the temporary files
// of copies that were cut off. Returns what could not be undone; nothing
// when the destination is as it was.
//
// It can be repeated after a failure or a kill in its middle, and it only
// ever removes a file that is the transfer's own: one at a created path,
// under exactly the recorded name (a name differing only in case is another
// file), and, where a file stood there before, only while the holding
// folder holds that file. A file that stood there and never left, or that
// an earlier try put back, stays. A held file goes back only to a name
// that no file has exactly; otherwise both stay, and that is a failure.
std::vector<FileFailure> UndoTransfer(FileOps& files, const UnfinishedTransfer& transfer);

// Removes the holding folders with the old files they hold: the committed
// transfer is complete. Returns what could not be removed.
std::vector<FileFailure> FinishTransfer(FileOps& files, const UnfinishedTransfer& transfer);

// Removes the temporary files that copies cut off by a kill left in the
// destination, its data subfolders and the folders the transfer touched.
void RemoveCutOffCopies(FileOps& files, const UnfinishedTransfer& transfer);

}  // namespace tolvashu
