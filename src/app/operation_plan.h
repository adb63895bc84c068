// What an operation's transfer will write, known before anything changes:
// the folder preparation and the transfer run first over a disk that only
// pretends (the dry run's), so that the plan is the run by construction.
// It only looks at the sources, without opening them: the transfer opens
// each itself, and meets any that cannot be read.
#pragma once

#include <string>
#include <vector>

#include "disk/planned_change.h"
#include "files/file_ops.h"
#include "transfer/progress_notice.h"

namespace tolvashu {

struct TransferPlan {
  std::vector<PlannedChange> changes;  // what would end up changed, once each
  ProgressTotal total;                 // the copies among them
};

// The transfer from `source` to `destination`, both ending with a
// separator, after the data folders of `game_path` are made. `asked` is the
// real notice: the plan only asks it whether the user wants to stop.
TransferPlan PlanTransfer(FileOps& files, ProgressNotice& asked, const std::string& game_path,
                          const std::string& source, const std::string& destination,
                          const std::string& music_switch);

}  // namespace tolvashu
