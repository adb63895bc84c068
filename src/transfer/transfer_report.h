// What a transfer could not do, as the engine hands it to the operation that
// ran it. Missing source files are normal and are not listed; files that
// exist and could not be copied, matches that could not be deleted, status
// files that could not be emptied and folders that could not be listed are.
#pragma once

#include <vector>

#include "files/file_ops.h"
#include "transfer/folder_overlap.h"

namespace tolvashu {

struct TransferReport {
  // Not kNone: the transfer would have deleted its own source, so nothing
  // was deleted or copied.
  FolderOverlap overlap = FolderOverlap::kNone;
  std::vector<FileFailure> failures;
};

}  // namespace tolvashu
