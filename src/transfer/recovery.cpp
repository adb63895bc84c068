#include "transfer/recovery.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "transfer/data_set_catalogue.h"
#include "transfer/journal.h"
#include "transfer/unfinished_transfer.h"

namespace tolvashu {

namespace {

Recovery Ended(Recovery::Outcome outcome, std::vector<FileFailure> failures = {}) {
  return {outcome, std::move(failures)};
}

// The holding folders of the destination and its data subfolders are
// looked into even when no surviving record names them: after a power cut a
// holding folder may have reached the disk before its record did.
UnfinishedTransfer FromJournal(const std::string& folder, const ParsedJournal& journal) {
  UnfinishedTransfer transfer{folder, journal.id, {}, {""}, {}, {}};
  for (const catalogue::Subfolder& subfolder : catalogue::kSubfolders) {
    transfer.holding_folders.emplace_back(subfolder.folder);
  }
  for (const JournalRecord& record : journal.records) {
    if (record.kind == JournalRecord::kAside) {
      transfer.moved_aside.insert(record.path);  // what its holding folder holds tells the rest
      continue;
    }
    std::vector<std::string>& paths = record.kind == JournalRecord::kNew          ? transfer.created
                                      : record.kind == JournalRecord::kMadeFolder ? transfer.made_folders
                                                                                  : transfer.holding_folders;
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

// The journal goes last: until then, an undo cut off itself is taken up
// again by the next start.
Recovery Undone(FileOps& files, const std::string& journal, std::vector<FileFailure> failures) {
  if (failures.empty()) {
    if (std::optional<FileFailure> failure = files.RemoveFile(journal)) failures.push_back(std::move(*failure));
  }
  // The outcome is decided before the failures are handed over: the order
  // in which a call's arguments are made is not fixed.
  const Recovery::Outcome outcome = failures.empty() ? Recovery::kUndone : Recovery::kNotUndone;
  return Ended(outcome, std::move(failures));
}

// One journal: finished when committed, undone otherwise. A committed
// transfer whose old files cannot all go yet (a program still has one
// open) keeps its journal and holding folders for a later start; they
// stand in nobody's way meanwhile.
Recovery EndTransfer(FileOps& files, const std::string& folder, const std::string& journal) {
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
      if (failures.empty()) files.RemoveFile(journal);
      return Ended(Recovery::kFinished);
    }
    case ParsedJournal::kUnstarted:  // nothing was changed yet
    case ParsedJournal::kOpen:
      return Undone(files, journal, UndoTransfer(files, transfer));
  }
  return refusal;
}

// The outcome that says the most: what keeps an operation from running
// first, then what the user must be told.
Recovery Worse(Recovery a, Recovery b) {
  Recovery& worse = b.outcome > a.outcome ? b : a;
  Recovery& other = b.outcome > a.outcome ? a : b;
  worse.failures.insert(worse.failures.end(), other.failures.begin(), other.failures.end());
  return std::move(worse);
}

}  // namespace

Recovery RecoverUnfinishedTransfer(FileOps& files, const std::string& folder) {
  std::optional<std::vector<FolderEntry>> entries = files.ListEntries(folder);
  if (!entries) return Ended(Recovery::kCannotLook, {{folder, FailureCause::kUnreadable, "cannot be listed"}});
  Recovery recovery;
  for (const FolderEntry& entry : *entries) {
    if (!entry.is_folder && IsJournalName(entry.name)) {
      recovery = Worse(std::move(recovery), EndTransfer(files, folder, folder + entry.name));
    }
  }
  if (recovery.outcome == Recovery::kNothing) RemoveCutOffCopies(files, {folder, {}, {}, {}, {}, {}});
  return recovery;
}

}  // namespace tolvashu
