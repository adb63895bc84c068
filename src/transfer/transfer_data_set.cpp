// The transfer runs its steps in a fixed order. The order matters: families
// are cleared before their copies, so a transfer replaces them instead of
// merging into them. The first real failure stops it (the steps below end
// their loops once the transfer has stopped), and the transaction then
// puts the destination back as it was: a half-written data set would mix
// two scenarios, and after a full disk every later copy would fail too.
#include "transfer/transfer_data_set.h"

#include <optional>
#include <string>
#include <vector>

#include "files/error_policy.h"
#include "transfer/data_set_catalogue.h"
#include "transfer/folder_transfer.h"
#include "transfer/manifest_copy.h"
#include "transfer/series_sweeps.h"
#include "transfer/transaction.h"

namespace tolvashu {

namespace {

constexpr ErrorPolicy kPolicy = ErrorPolicy::kStopAtFirstFailure;

// The names the enumeration of source folder + `pattern` returns that
// `wanted` accepts, each with `prefix` before it; none once the transfer
// has stopped.
template <typename Wanted>
std::vector<std::string> SourceEntries(FolderTransfer& transfer, const std::string& pattern, const std::string& prefix,
                                       Wanted wanted) {
  std::vector<std::string> names;
  FileOps& files = transfer.files();
  for (std::optional<std::string> entry = transfer.FirstSourceEntry(pattern);
       entry && !entry->empty() && !transfer.Stopped(); entry = files.NextEntry()) {
    if (wanted(*entry)) names.push_back(prefix + *entry);
  }
  return names;
}

// Copies the names in order, until the transfer stops. The file layer
// hears of them first, so that it can write the next copies ahead.
void CopyInOrder(FolderTransfer& transfer, const std::vector<std::string>& names) {
  static_assert(kPolicy == ErrorPolicy::kStopAtFirstFailure);
  transfer.ExpectCopies(names);
  for (const std::string& name : names) {
    if (transfer.Stopped()) return;
    transfer.Copy(name);
  }
}

void Tell(FolderTransfer& transfer, TransferStep step, std::string_view detail = "") {
  if (ProgressNotice* notice = transfer.notice()) notice->StepStarts(step, detail);
}

// The source listing that refills a family is read before the family is
// cleared: when it cannot be read, the transfer stops with nothing cleared.
void ClearFamilies(FolderTransfer& transfer) {
  for (const catalogue::ClearedFamily& family : catalogue::kClearedFamilies) {
    if (family.refilled_from_listing && !transfer.CanListSource(family.refilled_from_listing)) return;
    transfer.Delete(family.pattern);
  }
}

// The source subfolder is listed once, before its destination is cleared:
// the listing is a snapshot, and a listing that cannot be read stops the
// transfer before anything is cleared. A destination without the subfolder
// gets it, made within the transfer (and removed by its undo), as soon as
// the source has a file for it.
void CopySubfolders(FolderTransfer& transfer) {
  for (const catalogue::Subfolder& subfolder : catalogue::kSubfolders) {
    const std::string folder(subfolder.folder);
    Tell(transfer, TransferStep::kSubfolder, folder);
    std::vector<std::string> names = SourceEntries(transfer, folder + "*.*", folder, [](const std::string&) {
      return true;
    });
    if (!names.empty()) transfer.MakeFoldersFor(names.front());
    if (subfolder.clear_first) transfer.Delete(folder + "*.*");
    CopyInOrder(transfer, names);
  }
}

// Each sweep enumerates the source folder afresh; its subfolders are not entered.
void RunEntrySweeps(FolderTransfer& transfer, bool music_on) {
  for (const catalogue::EntrySweep& sweep : catalogue::kEntrySweeps) {
    if (sweep.music_only && !music_on) continue;
    Tell(transfer, TransferStep::kSweep, catalogue::SweepPattern(sweep));
    CopyInOrder(transfer, SourceEntries(transfer, "", "", [&](const std::string& entry) {
                  return catalogue::Matches(sweep, entry);
                }));
  }
}

// Unlike the series, every number is tried: a gap does not end the range.
void CopyKoseiRange(FolderTransfer& transfer) {
  Tell(transfer, TransferStep::kKoseiRange);
  std::vector<std::string> names;
  for (int number = catalogue::kKoseiRangeFirst; number <= catalogue::kKoseiRangeLast; ++number) {
    names.emplace_back(catalogue::KoseiFileName(number));
  }
  CopyInOrder(transfer, names);
}

template <typename Names>
void CopyNames(FolderTransfer& transfer, const Names& names) {
  for (std::string_view name : names) transfer.Copy(name);
}

void ReplaceFile(FolderTransfer& transfer, std::string_view name) {
  transfer.Delete(name);
  transfer.Copy(name);
}

// The emptied ones are left empty when the source lacks them, so that no
// state of an earlier game survives the transfer. They are copied first and
// emptied only when the source has none.
void CopyStatusFiles(FolderTransfer& transfer) {
  for (const catalogue::StatusFile& status : catalogue::kStatusFiles) {
    bool missing = transfer.Copy(status.name) == CopyOutcome::kSourceMissing;
    if (missing && status.treatment == catalogue::StatusTreatment::kEmptyThenCopy) transfer.Empty(status.name);
  }
}

void RunSequence(FolderTransfer& transfer, const std::string& music_switch) {
  ClearFamilies(transfer);
  CopySubfolders(transfer);
  RunEntrySweeps(transfer, music_switch == catalogue::kMusicOn);
  CopyKoseiRange(transfer);
  Tell(transfer, TransferStep::kCatalogue);
  ReplaceFile(transfer, catalogue::kReplacedFile);
  CopyNames(transfer, catalogue::kNamesBeforeSeries);
  Tell(transfer, TransferStep::kKoseiSeries);
  CopyKoseiSeries(transfer);
  Tell(transfer, TransferStep::kCatalogue);
  CopyNames(transfer, catalogue::kNamesAfterSeries);
  CopyStatusFiles(transfer);
  Tell(transfer, TransferStep::kNenpyoSeries);
  CopyNenpyoSeries(transfer);
  Tell(transfer, TransferStep::kWorldFile);
  CopyManifestFiles(transfer);
  transfer.ExpectCopies({});  // a stopped transfer leaves nothing written ahead
}

// Commits when the sequence met no failure and was not interrupted; undoes
// it otherwise, or when
// the commit itself fails before its mark is durable.
void EndTransaction(Transaction& transaction, TransferReport& report) {
  if (report.failures.empty() && !report.interrupted) {
    std::optional<FileFailure> failure = transaction.Commit();
    if (!failure) return;
    report.failures.push_back(std::move(*failure));
  }
  report.not_undone = transaction.Rollback();
  report.outcome = report.not_undone.empty() ? TransferOutcome::kUndone : TransferOutcome::kNotUndone;
}

TransferReport RunTransaction(FileOps& files, ProgressNotice& notice, const std::string& source_folder,
                              const std::string& destination_folder, const std::string& music_switch) {
  TransferReport report;
  Transaction transaction(files, destination_folder);
  if (std::optional<FileFailure> failure = transaction.Begin()) {
    report.failures.push_back(std::move(*failure));
    report.outcome = TransferOutcome::kUndone;  // nothing was changed
    return report;
  }
  FolderTransfer transfer(files, transaction, source_folder, &notice);
  RunSequence(transfer, music_switch);
  report.interrupted = transfer.Interrupted();
  report.failures = transfer.TakeFailures();
  EndTransaction(transaction, report);
  return report;
}

}  // namespace

TransferReport TransferDataSet(FileOps& files, ProgressNotice& notice, const std::string& source_folder,
                               const std::string& destination_folder, const std::string& music_switch) {
  // Clearing the destination would delete the very files about to be
  // copied: such a transfer changes nothing.
  if (FolderOverlap overlap = CheckFolderOverlap(files, source_folder, destination_folder);
      overlap != FolderOverlap::kNone) {
    TransferReport report;
    report.overlap = overlap;
    return report;
  }
  notice.Show();
  files.SetChunkHook([&notice] { notice.StillWorking(); });
  TransferReport report = RunTransaction(files, notice, source_folder, destination_folder, music_switch);
  files.SetChunkHook(nullptr);
  notice.Unload();
  return report;
}

}  // namespace tolvashu
