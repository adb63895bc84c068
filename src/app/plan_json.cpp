#include "app/plan_json.h"

#include "app/console_paths.h"
#include "app/plan_text.h"
#include "transfer/manifest_name.h"

namespace tolvashu {

namespace {

JsonObject ChangeJson(const PlannedChange& change, const PlannedEffect& effect) {
  JsonObject object;
  object["type"] = ChangeWord(change.kind);
  object["path"] = ShownPath(change.path);
  if (change.kind == ChangeKind::kCopy) object["source"] = ShownPath(change.source);
  if (change.kind != ChangeKind::kMakeFolder && change.kind != ChangeKind::kDelete) {
    object["replaces"] = change.replaces;
  }
  object["bytes"] = effect.bytes;
  object["effect"] = EffectWord(effect.effect);
  if (effect.unreadable) object["unreadable"] = true;
  return object;
}

JsonObject SummaryJson(const PlanSummary& summary) {
  JsonObject object;
  object["type"] = "summary";
  for (Effect effect : {Effect::kNew, Effect::kReplaced, Effect::kUnchanged, Effect::kRemoved, Effect::kEmptied}) {
    object[EffectWord(effect)] = JsonCount(summary.of(effect).files, summary.of(effect).bytes);
  }
  object["folders_made"] = summary.of(Effect::kFolderMade).files;
  object["unreadable"] = summary.unreadable;
  JsonObject space;
  space["needed"] = summary.space.needed_bytes;
  space["free"] = summary.space.free_bytes ? JsonObject(*summary.space.free_bytes) : JsonObject(nullptr);
  object["space"] = space;
  return object;
}

}  // namespace

const char* EffectWord(Effect effect) {
  switch (effect) {
    case Effect::kFolderMade:
      return "folder-made";
    case Effect::kNew:
      return "new";
    case Effect::kReplaced:
      return "replaced";
    case Effect::kUnchanged:
      return "unchanged";
    case Effect::kRemoved:
      return "removed";
    case Effect::kEmptied:
      break;
  }
  return "emptied";
}

JsonObject SkippedItemJson(const SkippedItem& skipped) {
  JsonObject object;
  object["type"] = "skip";
  object["reason"] = SkipReasonWord(skipped.why);
  object["item"] = skipped.item;
  object["name"] = ManifestFileName(skipped.item).value_or("");
  return object;
}

std::string PlanJson(const std::vector<PlannedChange>& changes, const std::vector<PlannedEffect>& effects,
                     const std::vector<SkippedItem>& skipped, const PlanSummary& summary) {
  std::string lines;
  for (std::size_t i = 0; i < changes.size() && i < effects.size(); ++i) {
    lines += JsonLine(ChangeJson(changes[i], effects[i]));
  }
  for (const SkippedItem& item : skipped) lines += JsonLine(SkippedItemJson(item));
  return lines + JsonLine(SummaryJson(summary));
}

}  // namespace tolvashu
