#include "app/package_check.h"

#include <algorithm>
#include <map>
#include <set>

#include "disk/overlay_disk.h"
#include "disk/path_parts.h"
#include "disk/temporary_name.h"
#include "folderchoice/saved_path.h"
#include "text/case_fold.h"
#include "text/text_codec.h"
#include "transfer/data_set_catalogue.h"
#include "transfer/transfer_data_set.h"

namespace tolvashu {

namespace {

constexpr char kDestinationName[] = "tolvashu-check-destination";

// A relative name as a key: one separator, folded case, as the file
// system compares names.
std::string NameKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c == '/') c = '\\';
  }
  return FoldName(key);
}

// Records which part of the sequence copies each file.
class CheckNotice : public ProgressNotice {
 public:
  void Show() override {}
  void Unload() override {}
  void StepStarts(TransferStep step, std::string_view detail) override {
    step_ = step;
    detail_ = std::string(detail);
  }
  void FileCopied(std::string_view name) override {
    auto [known, first] = index_.try_emplace(NameKey(name), taken_.size());
    if (first) {
      taken_.push_back({step_, detail_, std::string(name), 0, {}});
    } else if (std::vector<TransferStep>& also = taken_[known->second].also;
               taken_[known->second].step != step_ && std::find(also.begin(), also.end(), step_) == also.end()) {
      also.push_back(step_);
    }
  }
  void ManifestItemSkipped(std::string_view item, ManifestSkip why) override {
    skipped_.push_back({std::string(item), why});
  }

  std::vector<TakenFile> taken_;
  std::vector<SkippedItem> skipped_;

 private:
  TransferStep step_ = TransferStep::kCatalogue;
  std::string detail_;
  std::map<std::string, std::size_t> index_;  // name key -> its place in taken_
};

// A folder of the package that it does not hold, made in the overlay only;
// a package folder that cannot be looked at gets none.
Result<std::string> MakeDestination(OverlayDisk& overlay, const std::string& package) {
  std::string folder = package + kDestinationName;
  for (int number = 2;; ++number) {
    Result<Entry> there = overlay.Look(folder, Spelling::kAsHeld);
    if (!there.ok()) return there.error();
    if (!there->exists()) break;
    folder = package + kDestinationName + std::to_string(number);
  }
  if (Result<void> made = overlay.MakeFolder(folder, Visibility::kShown); !made.ok()) return made.error();
  return folder + "\\";
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// The family whose test would take `name` if it ignored case.
const catalogue::EntrySweep* SweepButForCase(const std::string& name) {
  for (const catalogue::EntrySweep& sweep : catalogue::kEntrySweeps) {
    catalogue::EntrySweep lowered = sweep;
    const std::string characters = AsciiLower(sweep.characters);
    lowered.characters = characters;
    if (catalogue::Matches(lowered, AsciiLower(name))) return &sweep;
  }
  return nullptr;
}

class UntakenFiles {
 public:
  UntakenFiles(Disk& disk, const std::string& package, const std::set<std::string>& taken, PackageCheck& check)
      : disk_(disk), package_(package), taken_(taken), check_(check) {}

  // Every file below the package, hidden ones and our own left out.
  void Walk(const std::string& relative) {
    Result<std::string> identity = disk_.FolderIdentity(package_ + relative);
    if (identity.ok() && !visited_.insert(*identity).second) return;  // a link back up
    Result<std::vector<Listed>> entries = disk_.List(package_ + relative, nullptr);
    if (!entries.ok()) {
      check_.failures.push_back({package_ + relative, entries.error().cause, entries.error().reason});
      return;
    }
    for (const Listed& entry : *entries) {
      if (entry.hidden || IsOwnName(entry.name)) continue;
      const std::string name = relative + entry.name;
      if (entry.kind == EntryKind::kFolder) {
        Walk(name + "\\");
      } else if (entry.kind == EntryKind::kFile) {
        Look(name, relative.empty());
      }
    }
  }

 private:
  void Look(const std::string& name, bool at_top) {
    const bool spelled = EncodeCp932(name).has_value();
    const bool taken = taken_.count(NameKey(name)) != 0;
    if (at_top && NameKey(name) == NameKey(kSavedPathFile)) return;  // the program's own
    if (taken) {
      if (!spelled) check_.warnings.push_back({WarningKind::kNotCp932, name, UntakenHint::kNone, ""});
      return;
    }
    PackageWarning warning{WarningKind::kUntaken, name, UntakenHint::kNone, ""};
    if (!spelled) {
      warning.hint = UntakenHint::kNotCp932;
    } else if (!at_top) {
      warning.hint = UntakenHint::kSubfolder;
    } else if (const catalogue::EntrySweep* sweep = SweepButForCase(name)) {
      warning.hint = UntakenHint::kSweepCase;
      warning.detail = catalogue::SweepPattern(*sweep);
    } else if (std::string end = SeriesEnd(name); end != kNoSeries) {
      warning.hint = UntakenHint::kSeries;
      warning.detail = end;
    }
    check_.warnings.push_back(std::move(warning));
  }

  // The first name of the series that `name` looks like a member of that
  // the package lacks; kNoSeries when it looks like none.
  std::string SeriesEnd(const std::string& name) const {
    const std::string lower = AsciiLower(name);
    if (lower.rfind("kosei", 0) == 0 && lower.size() > 9 && lower.substr(lower.size() - 4) == ".dat") {
      return FirstLacking(catalogue::kKoseiSeriesFirst, catalogue::kKoseiSeriesLast, catalogue::KoseiFileName);
    }
    const std::string nenpyo = "年表";
    if (lower.rfind(nenpyo, 0) == 0 && lower.size() > nenpyo.size() + 4 && lower.substr(lower.size() - 4) == ".txt") {
      return FirstLacking(catalogue::kNenpyoSeriesFirst, catalogue::kNenpyoSeriesLast, catalogue::NenpyoFileName);
    }
    return kNoSeries;
  }

  template <typename NameOf>
  std::string FirstLacking(int first, int last, NameOf name_of) const {
    for (int number = first; number <= last; ++number) {
      if (taken_.count(NameKey(name_of(number))) == 0) return name_of(number);
    }
    return "";
  }

  static constexpr const char* kNoSeries = "\n";

  Disk& disk_;
  const std::string& package_;
  const std::set<std::string>& taken_;
  PackageCheck& check_;
  std::set<std::string> visited_;
};

}  // namespace

PackageCheck CheckPackage(FileOps& files) {
  const std::string package = files.CurrentFolder() + "\\";
  OverlayDisk overlay(files.disk());
  FileOps planning(overlay);
  PackageCheck check;
  Result<std::string> made = MakeDestination(overlay, package);
  if (!made.ok()) {
    check.failures.push_back({package, made.error().cause, made.error().reason});
    return check;
  }
  const std::string& destination = *made;
  CheckNotice notice;
  TransferReport report =
      TransferDataSet(planning, notice, package, destination, std::string(catalogue::kMusicOn));
  check.failures = report.failures;
  check.skipped = std::move(notice.skipped_);
  std::map<std::string, std::uint64_t> sizes;  // by the key of the name below the destination
  std::set<std::string> sources;               // the keys of the package's files that are copied
  for (const PlannedChange& change : overlay.Changes()) {
    if (change.kind != ChangeKind::kCopy || change.path.rfind(destination, 0) != 0) continue;
    sizes[NameKey(change.path.substr(destination.size()))] = change.bytes;
    if (change.source.rfind(package, 0) == 0) sources.insert(NameKey(change.source.substr(package.size())));
  }
  for (TakenFile& file : notice.taken_) {
    auto size = sizes.find(NameKey(file.name));
    if (size != sizes.end()) file.bytes = size->second;
    check.taken.push_back(std::move(file));
  }
  UntakenFiles(files.disk(), package, sources, check).Walk("");
  return check;
}

}  // namespace tolvashu
