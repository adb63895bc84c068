#include "app/plan_effects.h"

#include <memory>
#include <optional>
#include <string>

namespace tolvashu {

namespace {

std::optional<std::uint64_t> SizeNow(Disk& now, const std::string& path) {
  Result<Entry> entry = now.Look(path, Spelling::kAsHeld);
  if (!entry.ok() || entry->kind != EntryKind::kFile) return std::nullopt;
  return entry->size;
}

std::optional<std::string> ContentNow(Disk& now, const std::string& path) {
  Result<std::unique_ptr<InputFile>> file = now.OpenRead(path, ReadSharing::kWithEveryone);
  if (!file.ok()) return std::nullopt;
  return (*file)->ReadAll();
}

// Files of different sizes differ without a byte read; only files of one
// size are read and compared.
PlannedEffect CompareWith(Disk& now, const PlannedChange& change, const std::optional<std::string>& written) {
  PlannedEffect result{Effect::kReplaced, change.bytes};
  std::optional<std::uint64_t> size = SizeNow(now, change.path);
  if (!size) {
    result.unreadable = true;
    return result;
  }
  if (*size != change.bytes) return result;
  std::optional<std::string> there = ContentNow(now, change.path);
  std::optional<std::string> coming = written ? written : ContentNow(now, change.source);
  if (!there || !coming) {
    result.unreadable = true;
  } else if (*there == *coming) {
    result.effect = Effect::kUnchanged;
  }
  return result;
}

PlannedEffect EffectOf(Disk& now, const PlannedChange& change) {
  switch (change.kind) {
    case ChangeKind::kMakeFolder:
      return {Effect::kFolderMade, 0};
    case ChangeKind::kDelete:
      return {Effect::kRemoved, SizeNow(now, change.path).value_or(0)};
    case ChangeKind::kEmpty: {
      if (!change.replaces) return {Effect::kNew, 0};
      std::optional<std::uint64_t> size = SizeNow(now, change.path);
      if (!size) return {Effect::kEmptied, 0, true};
      return {*size == 0 ? Effect::kUnchanged : Effect::kEmptied, *size};
    }
    case ChangeKind::kWrite:
      if (!change.replaces) return {Effect::kNew, change.bytes};
      return CompareWith(now, change, change.written);
    case ChangeKind::kCopy:
      break;
  }
  if (!change.replaces) return {Effect::kNew, change.bytes};
  return CompareWith(now, change, std::nullopt);
}

}  // namespace

std::vector<PlannedEffect> EffectsOf(Disk& now, const std::vector<PlannedChange>& changes) {
  std::vector<PlannedEffect> effects;
  effects.reserve(changes.size());
  for (const PlannedChange& change : changes) effects.push_back(EffectOf(now, change));
  return effects;
}

}  // namespace tolvashu
