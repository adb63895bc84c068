// The transfer runs its steps in a fixed order; a step that fails is skipped
// and the next one runs. The order matters: families are cleared before
// their copies, so a transfer replaces them instead of merging into them.
#include "transfer/transfer_data_set.h"

#include <optional>
#include <string>

#include "files/error_policy.h"
#include "transfer/data_set_catalogue.h"
#include "transfer/folder_transfer.h"
#include "transfer/manifest_copy.h"
#include "transfer/series_sweeps.h"

namespace tolvashu {

namespace {

constexpr ErrorPolicy kPolicy = ErrorPolicy::kSkipAndContinue;

// Calls `visit` with every name the enumeration of source folder + `pattern`
// returns. A failing enumeration counts as one with no more names; a folder
// that could not be listed has been collected.
template <typename Visit>
void ForEachSourceEntry(FolderTransfer& transfer, const std::string& pattern, Visit visit) {
  static_assert(kPolicy == ErrorPolicy::kSkipAndContinue);
  FileOps& files = transfer.files();
  for (std::optional<std::string> entry = transfer.FirstSourceEntry(pattern); entry && !entry->empty();
       entry = files.NextEntry()) {
    visit(*entry);
  }
}

// A family whose new members come from a source listing that cannot be read
// keeps its old members (the listing is told): cleared, it would be left
// empty.
void ClearFamilies(FolderTransfer& transfer) {
  for (const catalogue::ClearedFamily& family : catalogue::kClearedFamilies) {
    if (family.refilled_from_listing && !transfer.CanListSource(family.refilled_from_listing)) continue;
    transfer.Delete(family.pattern);
  }
}

// The source subfolder is listed once, before its destination is cleared:
// the listing is a snapshot, and a clear waits for a listing that was read.
void CopySubfolders(FolderTransfer& transfer) {
  static_assert(kPolicy == ErrorPolicy::kSkipAndContinue);
  for (const catalogue::Subfolder& subfolder : catalogue::kSubfolders) {
    const std::string folder(subfolder.folder);
    std::optional<std::string> entry = transfer.FirstSourceEntry(folder + "*.*");
    const bool listed = entry || !transfer.files().LastFailure();
    if (subfolder.clear_first && listed) transfer.Delete(folder + "*.*");
    for (; entry && !entry->empty(); entry = transfer.files().NextEntry()) transfer.Copy(folder + *entry);
  }
}

// Each sweep enumerates the source folder afresh; its subfolders are not entered.
void RunEntrySweeps(FolderTransfer& transfer, bool music_on) {
  for (const catalogue::EntrySweep& sweep : catalogue::kEntrySweeps) {
    if (sweep.music_only && !music_on) continue;
    ForEachSourceEntry(transfer, "", [&](const std::string& entry) {
      if (catalogue::Matches(sweep, entry)) transfer.Copy(entry);
    });
  }
}

// Unlike the series, every number is tried: a gap does not end the range.
void CopyKoseiRange(FolderTransfer& transfer) {
  for (int number = catalogue::kKoseiRangeFirst; number <= catalogue::kKoseiRangeLast; ++number) {
    transfer.Copy(catalogue::KoseiFileName(number));
  }
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
// emptied only when the source has none: emptied first, a file whose copy
// then failed would hold neither its old content nor the new one.
void CopyStatusFiles(FolderTransfer& transfer) {
  for (const catalogue::StatusFile& status : catalogue::kStatusFiles) {
    bool missing = transfer.Copy(status.name) == CopyOutcome::kSourceMissing;
    if (missing && status.treatment == catalogue::StatusTreatment::kEmptyThenCopy) transfer.Empty(status.name);
  }
}

// What copies killed midway left in the folders this transfer writes into.
void RemoveLeftovers(FolderTransfer& transfer) {
  const std::string& destination = transfer.destination_folder();
  transfer.files().RemoveLeftoverTemporaryFiles(destination);
  for (const catalogue::Subfolder& subfolder : catalogue::kSubfolders) {
    transfer.files().RemoveLeftoverTemporaryFiles(destination + std::string(subfolder.folder));
  }
}

void RunSequence(FolderTransfer& transfer, const std::string& music_switch) {
  RemoveLeftovers(transfer);
  ClearFamilies(transfer);
  CopySubfolders(transfer);
  RunEntrySweeps(transfer, music_switch == catalogue::kMusicOn);
  CopyKoseiRange(transfer);
  ReplaceFile(transfer, catalogue::kReplacedFile);
  CopyNames(transfer, catalogue::kNamesBeforeSeries);
  CopyKoseiSeries(transfer);
  CopyNames(transfer, catalogue::kNamesAfterSeries);
  CopyStatusFiles(transfer);
  CopyNenpyoSeries(transfer);
  CopyManifestFiles(transfer);
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
  FolderTransfer transfer(files, source_folder, destination_folder, &notice);
  RunSequence(transfer, music_switch);
  files.SetChunkHook(nullptr);
  notice.Unload();
  return transfer.TakeReport();
}

}  // namespace tolvashu
