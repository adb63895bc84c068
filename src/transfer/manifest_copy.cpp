#include "transfer/manifest_copy.h"

#include <optional>
#include <string>
#include <utility>

#include "files/error_policy.h"
#include "transfer/data_set_catalogue.h"
#include "transfer/manifest_name.h"
#include "transfer/manifest_skip.h"

namespace tolvashu {

namespace {

// A name whose source is missing is skipped and the next item is read; a
// copy that fails stops the transfer, and the reading with it. No world
// file, or an empty one, names nothing.
constexpr ErrorPolicy kPolicy = ErrorPolicy::kStopAtFirstFailure;

constexpr char kCannotRead[] = "cannot be read";

void TellSkipped(FolderTransfer& transfer, const std::string& item, ManifestSkip why) {
  if (ProgressNotice* notice = transfer.notice()) notice->ManifestItemSkipped(item, why);
}

// Names that would reach outside the two folders, or that the world file's
// bytes do not spell, are left out: the world file comes with a downloaded
// package and is not trusted. Only the notice hears of them. A name in a
// subfolder that the destination lacks gets that subfolder: a Backup folder
// never has the package's own subfolders, and the game needs the file.
void CopyNamedFile(FolderTransfer& transfer, const std::string& item) {
  static_assert(kPolicy == ErrorPolicy::kStopAtFirstFailure);
  std::optional<std::string> name = ManifestFileName(item);
  if (!name) return;
  if (std::optional<ManifestSkip> refused = WhyNameIsRefused(*name)) {
    TellSkipped(transfer, item, *refused);
  } else {
    transfer.MakeFoldersFor(*name);
    if (transfer.Copy(*name) == CopyOutcome::kSourceMissing) TellSkipped(transfer, item, ManifestSkip::kMissing);
  }
}

}  // namespace

void CopyManifestFiles(FolderTransfer& transfer) {
  FileOps& files = transfer.files();
  std::string world_file = files.CurrentFolder() + "\\" + std::string(catalogue::kWorldFile);
  if (!files.OpenForReading(world_file)) {
    // No world file names nothing. One that is there but cannot be opened
    // (held by another program, say) hides files that are not copied: told.
    std::optional<FileFailure> failure = files.LastFailure();
    if (files.HasFile(world_file) == false) return;
    transfer.Collect(failure ? std::move(*failure) : FileFailure{world_file, FailureCause::kUnreadable, kCannotRead});
    return;
  }
  std::optional<bool> at_end = files.AtEnd();
  if (!at_end) transfer.Collect({world_file, FailureCause::kUnreadable, kCannotRead});
  while (at_end == false && !transfer.Stopped()) {
    std::optional<std::string> item = files.ReadItem();
    if (!item) break;
    CopyNamedFile(transfer, *item);
    at_end = files.AtEnd();
  }
  files.CloseAll();
}

}  // namespace tolvashu
