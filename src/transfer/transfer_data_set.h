// The engine behind all four data operations: moves the game's data set from
// a source folder to a destination folder.
#pragma once

#include <string>
#include <vector>

#include "files/file_ops.h"
#include "transfer/folder_overlap.h"
#include "transfer/progress_notice.h"

namespace tolvashu {

// What a transfer could not do. Missing source files are normal and are not
// listed; files that exist and could not be copied, matches that could not be
// deleted, status files that could not be emptied and folders that could not
// be listed are.
struct TransferReport {
  // Not kNone: the transfer would have deleted its own source, so nothing
  // was deleted or copied.
  FolderOverlap overlap = FolderOverlap::kNone;
  std::vector<FileFailure> failures;
};

// Both folders end with a separator. `music_switch` "on" (exactly) also
// copies the source folder's mp3 files. The notice is shown at the start,
// told of every step (and of every chunk of a long copy) while the transfer
// runs, and unloaded at the end. The transfer never stops early because of a
// failure.
TransferReport TransferDataSet(FileOps& files, ProgressNotice& notice, const std::string& source_folder,
                               const std::string& destination_folder, const std::string& music_switch);

}  // namespace tolvashu
