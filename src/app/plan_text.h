// The plan of a dry run as text that a script can read: one line for each
// path the run would leave changed (the overlay's net change, in the order
// the run first changed each path), each starting with a word of its own,
// then one line for each world-file item that would not be copied, then a
// total:
//   mkdir PATH
//   delete PATH
//   copy SOURCE -> DESTINATION          (+ " (replaces)" over an existing file)
//   empty PATH                          created or truncated, left empty
//   write PATH                          created or truncated and written
//   skip REASON ITEM                    REASON: no-name, not-cp932, outside, missing
//   total: N files copied (B bytes), M files deleted
// and the summary of the net effect (plan_summary.h), in two lines:
//   summary: N new (S), N replaced (S), N unchanged (S), N removed (S), N emptied (S), N folders made
//   space: S needed, S free                    (or "free space unknown")
// where S is a size such as "0.9 KB" and a count of no files has no size.
#pragma once

#include <string>
#include <vector>

#include "app/command_line_notice.h"
#include "app/plan_summary.h"
#include "disk/planned_change.h"

namespace tolvashu {

std::string PlanText(const std::vector<PlannedChange>& changes, const std::vector<SkippedItem>& skipped);
std::string PlanSummaryText(const PlanSummary& summary);

// The words of the lines: "mkdir", "copy", ...; "missing", "outside", ...
const char* ChangeWord(ChangeKind kind);
const char* SkipReasonWord(ManifestSkip why);

}  // namespace tolvashu
