#include "app/plan_text.h"

#include <cstdint>

#include "app/console_paths.h"

namespace tolvashu {

namespace {

std::string ChangeLine(const PlannedChange& change) {
  const std::string path = ShownPath(change.path);
  if (change.kind != ChangeKind::kCopy) return ChangeWord(change.kind) + (" " + path);
  return "copy " + ShownPath(change.source) + " -> " + path + (change.replaces ? " (replaces)" : "");
}

// "4 new (0.2 KB)"; "0 removed".
std::string CountText(const EffectCount& count, const char* word) {
  std::string text = std::to_string(count.files) + " " + word;
  return count.files == 0 ? text : text + " (" + SizeText(count.bytes) + ")";
}

}  // namespace

const char* ChangeWord(ChangeKind kind) {
  switch (kind) {
    case ChangeKind::kMakeFolder:
      return "mkdir";
    case ChangeKind::kDelete:
      return "delete";
    case ChangeKind::kCopy:
      return "copy";
    case ChangeKind::kEmpty:
      return "empty";
    case ChangeKind::kWrite:
      break;
  }
  return "write";
}

const char* SkipReasonWord(ManifestSkip why) {
  switch (why) {
    case ManifestSkip::kNoName:
      return "no-name";
    case ManifestSkip::kNotCp932:
      return "not-cp932";
    case ManifestSkip::kOutsideFolder:
      return "outside";
    case ManifestSkip::kMissing:
      break;
  }
  return "missing";
}

std::string PlanText(const std::vector<PlannedChange>& changes, const std::vector<SkippedItem>& skipped) {
  std::string text;
  int copied = 0;
  int deleted = 0;
  std::uint64_t bytes = 0;
  for (const PlannedChange& change : changes) {
    text += ChangeLine(change) + "\n";
    if (change.kind == ChangeKind::kCopy) {
      ++copied;
      bytes += change.bytes;
    }
    if (change.kind == ChangeKind::kDelete) ++deleted;
  }
  for (const SkippedItem& item : skipped) text += std::string("skip ") + SkipReasonWord(item.why) + " " + item.item + "\n";
  return text + "total: " + std::to_string(copied) + " files copied (" + std::to_string(bytes) + " bytes), " +
         std::to_string(deleted) + " files deleted\n";
}

std::string PlanSummaryText(const PlanSummary& summary) {
  std::string text = "summary: " + CountText(summary.of(Effect::kNew), "new") + ", " +
                     CountText(summary.of(Effect::kReplaced), "replaced") + ", " +
                     CountText(summary.of(Effect::kUnchanged), "unchanged") + ", " +
                     CountText(summary.of(Effect::kRemoved), "removed") + ", " +
                     CountText(summary.of(Effect::kEmptied), "emptied") + ", " +
                     std::to_string(summary.of(Effect::kFolderMade).files) + " folders made";
  if (summary.unreadable != 0) text += ", " + std::to_string(summary.unreadable) + " not compared (unreadable)";
  text += "\nspace: " + SizeText(summary.space.needed_bytes) + " needed, ";
  text += summary.space.free_bytes ? SizeText(*summary.space.free_bytes) + " free" : "free space unknown";
  return text + "\n";
}

}  // namespace tolvashu
