#include "app/package_check_text.h"

#include <cstdint>
#include <vector>

#include "app/console_paths.h"
#include "app/json_lines.h"
#include "app/plan_json.h"
#include "app/plan_summary.h"
#include "app/plan_text.h"
#include "transfer/manifest_name.h"

namespace tolvashu {

namespace {

const char* StepWord(TransferStep step) {
  switch (step) {
    case TransferStep::kSubfolder:
      return "subfolder";
    case TransferStep::kSweep:
      return "family";
    case TransferStep::kKoseiRange:
      return "kosei-range";
    case TransferStep::kCatalogue:
      return "catalogue";
    case TransferStep::kKoseiSeries:
      return "kosei-series";
    case TransferStep::kNenpyoSeries:
      return "nenpyo-series";
    case TransferStep::kWorldFile:
      break;
  }
  return "world-file";
}

// A group's head as a person reads it.
std::string StepTitle(TransferStep step, const std::string& detail) {
  switch (step) {
    case TransferStep::kSubfolder:
      return "subfolder " + ShownPath(detail);
    case TransferStep::kSweep:
      return "family " + detail;
    case TransferStep::kKoseiRange:
      return "range kosei01.dat-kosei99.dat";
    case TransferStep::kCatalogue:
      return "catalogue names";
    case TransferStep::kKoseiSeries:
      return "series kosei00.dat, kosei01.dat, ...";
    case TransferStep::kNenpyoSeries:
      return "series 年表1.txt, 年表2.txt, ...";
    case TransferStep::kWorldFile:
      break;
  }
  return "world file";
}

const char* HintWord(UntakenHint hint) {
  switch (hint) {
    case UntakenHint::kSweepCase:
      return "sweep-case";
    case UntakenHint::kSeries:
      return "series";
    case UntakenHint::kSubfolder:
      return "subfolder";
    case UntakenHint::kNotCp932:
      return "not-cp932";
    case UntakenHint::kNone:
      break;
  }
  return "unnamed";
}

std::string WarningText(const PackageWarning& warning) {
  if (warning.kind == WarningKind::kNotCp932) {
    return "code page 932 cannot spell its name, which the world file and the game's texts are written in";
  }
  switch (warning.hint) {
    case UntakenHint::kSweepCase:
      return "the " + warning.detail + " family takes only names in that exact case";
    case UntakenHint::kSeries:
      if (warning.detail.empty()) return "the series never tries this number";
      return "the series ends before " + warning.detail + ", its first missing number";
    case UntakenHint::kSubfolder:
      return "only the world file takes files from this folder, and it does not name this one";
    case UntakenHint::kNotCp932:
      return "code page 932 cannot spell its name, so the world file cannot name it";
    case UntakenHint::kNone:
      break;
  }
  return "no step takes it; the world file can name it";
}

const char* WarningWord(const PackageWarning& warning) {
  return warning.kind == WarningKind::kNotCp932 ? "not-cp932" : "untaken";
}

struct Group {
  TransferStep step;
  std::string detail;
  std::vector<const TakenFile*> files;
  std::uint64_t bytes = 0;
};

// The taken files by part, in the order each part first took one.
std::vector<Group> Groups(const PackageCheck& check) {
  std::vector<Group> groups;
  for (const TakenFile& file : check.taken) {
    Group* group = nullptr;
    for (Group& known : groups) {
      if (known.step == file.step && known.detail == file.detail) group = &known;
    }
    if (!group) group = &groups.emplace_back(Group{file.step, file.detail, {}, 0});
    group->files.push_back(&file);
    group->bytes += file.bytes;
  }
  return groups;
}

std::string Counted(std::size_t count, const char* one, const char* more) {
  return std::to_string(count) + " " + (count == 1 ? one : more);
}

std::uint64_t TakenBytes(const PackageCheck& check) {
  std::uint64_t bytes = 0;
  for (const TakenFile& file : check.taken) bytes += file.bytes;
  return bytes;
}

}  // namespace

std::string PackageCheckText(const PackageCheck& check) {
  std::string text;
  for (const Group& group : Groups(check)) {
    text += StepTitle(group.step, group.detail) + ": " + Counted(group.files.size(), "file", "files") + " (" +
            SizeText(group.bytes) + ")\n";
    for (const TakenFile* file : group.files) {
      text += "  " + ShownPath(file->name);
      for (TransferStep again : file->also) text += std::string(", also by the ") + StepTitle(again, "");
      text += "\n";
    }
  }
  for (const SkippedItem& item : check.skipped) {
    std::string name = ManifestFileName(item.item).value_or("");
    text += std::string("skip ") + SkipReasonWord(item.why) + (name.empty() ? "" : " " + name) + " (" + item.item +
            ")\n";
  }
  for (const PackageWarning& warning : check.warnings) {
    text += std::string("warning ") + WarningWord(warning) + " " + ShownPath(warning.name) + ": " +
            WarningText(warning) + "\n";
  }
  return text + "total: " + Counted(check.taken.size(), "file", "files") + " taken (" + SizeText(TakenBytes(check)) +
         "), " + Counted(check.skipped.size(), "item", "items") + " skipped, " +
         Counted(check.warnings.size(), "warning", "warnings") + "\n";
}

std::string PackageCheckJson(const PackageCheck& check) {
  std::string lines;
  for (const TakenFile& file : check.taken) {
    JsonObject object;
    object["type"] = "take";
    object["step"] = StepWord(file.step);
    object["detail"] = file.detail;
    object["path"] = ShownPath(file.name);
    object["bytes"] = file.bytes;
    JsonObject also = JsonObject::array();
    for (TransferStep again : file.also) also.push_back(StepWord(again));
    object["also"] = also;
    lines += JsonLine(object);
  }
  for (const SkippedItem& item : check.skipped) lines += JsonLine(SkippedItemJson(item));
  for (const PackageWarning& warning : check.warnings) {
    JsonObject object;
    object["type"] = "warning";
    object["warning"] = WarningWord(warning);
    object["path"] = ShownPath(warning.name);
    if (warning.kind == WarningKind::kUntaken) object["hint"] = HintWord(warning.hint);
    object["detail"] = warning.detail;
    object["text"] = WarningText(warning);
    lines += JsonLine(object);
  }
  for (const FileFailure& failure : check.failures) {
    JsonObject object;
    object["type"] = "failure";
    object["path"] = ShownPath(failure.path);
    object["reason"] = failure.reason;
    lines += JsonLine(object);
  }
  JsonObject summary;
  summary["type"] = "summary";
  summary["taken"] = JsonCount(check.taken.size(), TakenBytes(check));
  summary["skipped"] = check.skipped.size();
  summary["warnings"] = check.warnings.size();
  summary["failures"] = check.failures.size();
  return lines + JsonLine(summary);
}

}  // namespace tolvashu
