#include "app/plan_summary.h"

#include <cstdio>

namespace tolvashu {

PlanSummary SummarizePlan(const std::vector<PlannedEffect>& effects, const SpaceOutlook& space) {
  PlanSummary summary;
  summary.space = space;
  for (const PlannedEffect& effect : effects) {
    EffectCount& count = summary.by_effect[static_cast<std::size_t>(effect.effect)];
    ++count.files;
    count.bytes += effect.bytes;
    if (effect.unreadable) ++summary.unreadable;
  }
  return summary;
}

std::string SizeText(std::uint64_t bytes) {
  constexpr double kKilobyte = 1024.0;
  constexpr double kMegabyte = kKilobyte * 1024.0;
  constexpr double kGigabyte = kMegabyte * 1024.0;
  const double size = static_cast<double>(bytes);
  double value = size / kKilobyte;
  const char* unit = "KB";
  if (size >= kGigabyte) {
    value = size / kGigabyte;
    unit = "GB";
  } else if (size >= kMegabyte) {
    value = size / kMegabyte;
    unit = "MB";
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, unit);
  return text;
}

}  // namespace tolvashu
