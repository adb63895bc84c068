#include "transfer/recovery.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "transfer/journal.h"
#include "transfer/unfinished_transfer.h"

namespace tolvashu {

namespace {

Recovery Ended(Recovery::Outcome outcome, std::vector<FileFailure> failures = {}) {
  return {outcome, std::move(failures)};
}

UnfinishedTransfer FromJournal(const std::string& folder, const ParsedJournal& journal) {
  UnfinishedTransfer transfer{folder, journal.id, {}, {}};
  for (const JournalRecord& record : journal.records) {
    if (record.kind == JournalRecord::kAside) continue;  // what its holding folder holds tells it
    std::vector<std::string>& paths = record.kind == JournalRecord::kNew ? transfer.created : transfer.holding_folders;
    if (std::find(paths.begin(), paths.end(), record.path) == paths.end()) paths.push_back(record.path);
  }
  return transfer;
}

// Reads the journal, unless a running transfer is still writing it.
std::optional<std::string> ReadJournal(FileOps& files, const std::string& journal, Recovery& refusal) {
  Opened<InputFile> opened = files.OpenUnlessWritten(journal);
  std::optional<std::string> bytes = opened.file ? opened.file->ReadAll() : std::nullopt;
  if (bytes) return bytes;
  refusal = Ended(opened.cause == FailureCause::kInUse ? Recovery::kCannotLook : Recovery::kNotUndone,
                  {{journal, opened.file ? FailureCause::kUnreadable : opened.cause,
                    opened.file ? "cannot be read" : opened.reason}});
  return std::nullopt;
}

// The journal goes last: until then, a recovery cut off itself is taken up
// again by the next one.
Recovery EndWith(FileOps& files, const std::string& journal, Recovery::Outcome done, Recovery::Outcome left,
                 std::vector<FileFailure> failures) {
  if (failures.empty()) {
    if (std::optional<FileFailure> failure = files.RemoveFile(journal)) failures.push_back(std::move(*failure));
  }
  return Ended(failures.empty() ? done : left, std::move(failures));
}

}  // namespace

Recovery RecoverUnfinishedTransfer(FileOps& files, const std::string& folder) {
  const std::string journal = folder + JournalName();
  std::optional<bool> there = files.HasFile(journal);
  if (!there) return Ended(Recovery::kCannotLook, {{folder, FailureCause::kUnreadable, "cannot be listed"}});
  if (!*there) {
    RemoveCutOffCopies(files, {folder, {}, {}, {}});
    return Ended(Recovery::kNothing);
  }
  Recovery refusal;
  std::optional<std::string> bytes = ReadJournal(files, journal, refusal);
  if (!bytes) return refusal;
  ParsedJournal parsed = ParseJournal(*bytes);
  UnfinishedTransfer transfer = FromJournal(folder, parsed);
  switch (parsed.state) {
    case ParsedJournal::kDamaged:
      return Ended(Recovery::kNotUndone, {{journal, FailureCause::kOther, "damaged; nothing was touched"}});
    case ParsedJournal::kCommitted: {
      std::vector<FileFailure> failures = FinishTransfer(files, transfer);
      RemoveCutOffCopies(files, transfer);
      return EndWith(files, journal, Recovery::kFinished, Recovery::kCannotLook, std::move(failures));
    }
    case ParsedJournal::kUnstarted:  // nothing was changed yet
    case ParsedJournal::kOpen:
      return EndWith(files, journal, Recovery::kUndone, Recovery::kNotUndone, UndoTransfer(files, transfer));
  }
  return refusal;
}

}  // namespace tolvashu
