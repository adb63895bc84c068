// The look that every operation takes, before anything else, for a transfer
// that did not end: killed, cut off by a power cut, or stopped by a failure
// it could not undo. Its journal, left in the transfer's destination, tells
// what to do: a committed transfer is finished, any other is undone.
#pragma once

#include <string>
#include <vector>

#include "files/file_ops.h"

namespace tolvashu {

struct Recovery {
  // In the order of what must be told: the last that applies counts.
  enum Outcome {
    kNothing,      // no unfinished transfer there
    kFinished,     // committed transfers, completed (or left to complete later)
    kUndone,       // uncommitted transfers, undone: the folder is as before them
    kNotUndone,    // not everything could be put back, or the journal cannot be
                   // trusted: what is left stays where it is, for the next try
    kCannotLook,   // the folder cannot be looked into, or another running
                   // transfer still writes its journal: nothing may run there now
  };
  Outcome outcome = kNothing;
  std::vector<FileFailure> failures;  // what to tell, for the last two
};

// Looks in `folder` (a transfer's destination, ending with a separator) for
// unfinished transfers and ends them. Also removes the temporary files of
// copies that were cut off there. Whatever the journal holds, only files
// it proves to be the transfer's own are deleted or replaced.
Recovery RecoverUnfinishedTransfer(FileOps& files, const std::string& folder);

}  // namespace tolvashu
