// The engine behind all four data operations: moves the game's data set from
// a source folder to a destination folder.
#pragma once

#include <string>

#include "files/file_ops.h"
#include "transfer/progress_notice.h"
#include "transfer/transfer_report.h"

namespace tolvashu {

// Both folders end with a separator. `music_switch` "on" (exactly) also
// copies the source folder's mp3 files. The notice is shown at the start,
// told of every step (and of every chunk of a long copy) while the transfer
// runs, and unloaded at the end. The transfer is one transaction: the first
// failure stops it, and everything it changed is then undone. A dry run is
// the same transfer over a file layer whose disk only pretends.
TransferReport TransferDataSet(FileOps& files, ProgressNotice& notice, const std::string& source_folder,
                               const std::string& destination_folder, const std::string& music_switch);

}  // namespace tolvashu
