// The plan of a dry run as JSON Lines: one object for each change, in the
// order of the step lines, with its net effect; one for each world-file item
// that is not copied; then the summary. Every object has a "type":
//   {"type":"copy","path":P,"source":S,"replaces":true,"bytes":N,"effect":"unchanged"}
//   {"type":"mkdir"|"delete"|"empty"|"write","path":P,...,"effect":E}
//   {"type":"skip","reason":"missing","item":"挿絵: a.jpg","name":"a.jpg"}
//   {"type":"summary","new":{"files":N,"bytes":B},...,"space":{"needed":B,"free":B|null}}
// Effects: "new", "replaced", "unchanged", "removed", "emptied",
// "folder-made"; "unreadable": true where the content could not be compared.
#pragma once

#include <string>
#include <vector>

#include "app/command_line_notice.h"
#include "app/json_lines.h"
#include "app/plan_summary.h"
#include "disk/planned_change.h"

namespace tolvashu {

std::string PlanJson(const std::vector<PlannedChange>& changes, const std::vector<PlannedEffect>& effects,
                     const std::vector<SkippedItem>& skipped, const PlanSummary& summary);

// The skip object of a world-file item, for the plan and for check.
JsonObject SkippedItemJson(const SkippedItem& skipped);

const char* EffectWord(Effect effect);

}  // namespace tolvashu
