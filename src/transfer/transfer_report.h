// How a transfer ended, as the engine hands it to the operation that ran
// it. A missing source file is normal and is never a failure; a file that
// exists and could not be copied, a match that could not be deleted, a
// status file that could not be emptied, or a folder that could not be
// listed is, and the first one stops the transfer and undoes it.
#pragma once

#include <vector>

#include "files/file_ops.h"
#include "transfer/folder_overlap.h"

namespace tolvashu {

enum class TransferOutcome {
  kCompleted,  // every change made, durable and committed
  kUndone,     // stopped by a failure; the destination is exactly as it was
  kNotUndone,  // stopped by a failure, and not everything could be put back:
               // the journal and the holding folders stay for the next start
};

struct TransferReport {
  // Not kNone: the transfer would have deleted its own source, so nothing
  // was deleted or copied.
  FolderOverlap overlap = FolderOverlap::kNone;
  TransferOutcome outcome = TransferOutcome::kCompleted;
  std::vector<FileFailure> failures;    // what stopped it
  std::vector<FileFailure> not_undone;  // kNotUndone: what could not be put back
  // Stopped because the user asked the program to end (ProgressNotice::
  // Interrupted), and undone like a failure, with no failure of its own.
  bool interrupted = false;
};

}  // namespace tolvashu
