// The transfer runs its steps in a fixed order; a step that fails is skipped
// and the next one runs. The order matters: families are cleared before
// their copies, so a transfer replaces them instead of merging into them.
#include "transfer/transfer_data_set.h"

#include <optional>
#include <string>
#include <string_view>

#include "transfer/data_set_catalogue.h"
#include "transfer/error_policy.h"
#include "transfer/folder_transfer.h"
#include "transfer/manifest_copy.h"
#include "transfer/series_sweeps.h"

namespace tolvashu {

namespace {

constexpr ErrorPolicy kPolicy = ErrorPolicy::kSkipAndContinue;

// Calls `visit` with every name the enumeration of `pattern` returns. A
// failing enumeration counts as one with no more names.
template <typename Visit>
void ForEachEntry(FileOps& files, const std::string& pattern, Visit visit) {
  static_assert(kPolicy == ErrorPolicy::kSkipAndContinue);
  for (std::optional<std::string> entry = files.FirstEntry(pattern); entry && !entry->empty();
       entry = files.NextEntry()) {
    visit(*entry);
  }
}

// Exact and case-sensitive. The characters are ASCII, and an ASCII byte is
// always a whole character in UTF-8, so comparing bytes compares characters.
bool Matches(const catalogue::EntrySweep& sweep, std::string_view entry) {
  std::string_view characters = sweep.characters;
  if (entry.size() < characters.size()) return false;
  std::size_t start = sweep.match == catalogue::Match::kLastCharacters ? entry.size() - characters.size() : 0;
  return entry.compare(start, characters.size(), characters) == 0;
}

void ClearFamilies(FolderTransfer& transfer) {
  for (std::string_view pattern : catalogue::kClearedFamilies) transfer.Delete(pattern);
}

void CopySubfolders(FolderTransfer& transfer) {
  for (const catalogue::Subfolder& subfolder : catalogue::kSubfolders) {
    std::string folder(subfolder.folder);
    if (subfolder.clear_first) transfer.Delete(folder + "*.*");
    ForEachEntry(transfer.files(), transfer.source_folder() + folder + "*.*",
                 [&](const std::string& entry) { transfer.Copy(folder + entry); });
  }
}

// Each sweep enumerates the source folder afresh; its subfolders are not entered.
void RunEntrySweeps(FolderTransfer& transfer, bool music_on) {
  for (const catalogue::EntrySweep& sweep : catalogue::kEntrySweeps) {
    if (sweep.music_only && !music_on) continue;
    ForEachEntry(transfer.files(), transfer.source_folder(), [&](const std::string& entry) {
      if (Matches(sweep, entry)) transfer.Copy(entry);
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
// state of an earlier game survives the transfer.
void CopyStatusFiles(FolderTransfer& transfer) {
  for (const catalogue::StatusFile& status : catalogue::kStatusFiles) {
    if (status.treatment == catalogue::StatusTreatment::kEmptyThenCopy) transfer.Empty(status.name);
    transfer.Copy(status.name);
  }
}

void RunSequence(FolderTransfer& transfer, const std::string& music_switch) {
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
  // Clearing the destination would delete the very files about to be copied
  // onto themselves: a transfer within one folder changes nothing.
  if (files.IsSameFolder(source_folder, destination_folder)) {
    TransferReport report;
    report.same_folder = true;
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
