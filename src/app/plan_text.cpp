#include "app/plan_text.h"

#include <cstdint>

#include "app/console_paths.h"

namespace tolvashu {

namespace {

std::string ChangeLine(const PlannedChange& change) {
  const std::string path = ShownPath(change.path);
  switch (change.kind) {
    case ChangeKind::kMakeFolder:
      return "mkdir " + path;
    case ChangeKind::kDelete:
      return "delete " + path;
    case ChangeKind::kCopy:
      return "copy " + ShownPath(change.source) + " -> " + path + (change.replaces ? " (replaces)" : "");
    case ChangeKind::kEmpty:
      return "empty " + path;
    case ChangeKind::kWrite:
      break;
  }
  return "write " + path;
}

const char* ReasonWord(ManifestSkip why) {
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

}  // namespace

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
  for (const SkippedItem& item : skipped) text += std::string("skip ") + ReasonWord(item.why) + " " + item.item + "\n";
  return text + "total: " + std::to_string(copied) + " files copied (" + std::to_string(bytes) + " bytes), " +
         std::to_string(deleted) + " files deleted\n";
}

}  // namespace tolvashu
