// The engine behind all four data operations: moves the game's data set from
// a source folder to a destination folder.
#pragma once

#include <string>

#include "files/file_ops.h"
#include "transfer/progress_notice.h"
#include "transfer/transfer_report.h"

namespace tolvashu {

// How the transfer changes its destination.
enum class TransferMode {
  kTransaction,  // all or nothing: a journal, files moved aside, undone on failure
  kPlan,         // each change handed straight to the file layer, which records it
};

// Both folders end with a separator. `music_switch` "on" (exactly) also
// copies the source folder's mp3 files. The notice is shown at the start,
// told of every step (and of every chunk of a long copy) while the transfer
// runs, and unloaded at the end. The first failure stops the transfer; in a
// transaction, everything it changed is then undone.
TransferReport TransferDataSet(FileOps& files, ProgressNotice& notice, const std::string& source_folder,
                               const std::string& destination_folder, const std::string& music_switch,
                               TransferMode mode = TransferMode::kTransaction);

}  // namespace tolvashu
