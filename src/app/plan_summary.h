// The net effect of a plan in a few numbers: how many files it adds,
// replaces, leaves as they are, removes and empties, with their sizes, the
// folders it makes, and the space it needs against the space free. A file
// that the run copies twice, or deletes and copies anew, is one change of
// the plan and counts once.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/plan_effects.h"
#include "app/space_check.h"

namespace tolvashu {

struct EffectCount {
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
};

struct PlanSummary {
  std::array<EffectCount, 6> by_effect{};  // indexed by Effect
  std::uint64_t unreadable = 0;            // files that could not be compared
  SpaceOutlook space;

  const EffectCount& of(Effect effect) const { return by_effect[static_cast<std::size_t>(effect)]; }
};

PlanSummary SummarizePlan(const std::vector<PlannedEffect>& effects, const SpaceOutlook& space);

// A size as a person reads it: "0.9 KB" below a megabyte, "335.4 MB" below a
// gigabyte, "45.2 GB" above (units of 1024).
std::string SizeText(std::uint64_t bytes);

}  // namespace tolvashu
