#include "transfer/unfinished_transfer.h"

#include <algorithm>
#include <optional>
#include <set>

#include "disk/path_parts.h"
#include "transfer/data_set_catalogue.h"
#include "transfer/journal.h"

namespace tolvashu {

namespace {

constexpr char kNameTaken[] = "its name is taken by another file";
constexpr char kNotAFile[] = "not a file";
constexpr char kCannotLookUp[] = "cannot be looked up";

std::string HoldingFolder(const UnfinishedTransfer& transfer, const std::string& folder) {
  return transfer.destination + folder + HoldingFolderName(transfer.id) + "\\";
}

void Collect(std::optional<FileFailure> failure, std::vector<FileFailure>& failures) {
  if (failure) failures.push_back(std::move(*failure));
}

// Puts one held file back, unless a file has exactly its name: what holds
// the name now was not made by this transfer (its own files are gone by
// now).
std::optional<FileFailure> PutBack(FileOps& files, const std::string& held, const std::string& folder,
                                   const std::string& name) {
  std::optional<bool> taken = files.HasFileNamedExactly(folder + name);
  if (!taken) return FileFailure{folder + name, FailureCause::kUnreadable, kCannotLookUp};
  if (*taken) return FileFailure{folder + name, FailureCause::kOther, kNameTaken};
  MoveResult moved = files.MoveIntoFolder(held + name, folder);
  if (moved.failure) return FileFailure{folder + name, moved.failure->cause, moved.failure->reason};
  return std::nullopt;
}

// Every held file of one holding folder put back, then the folder itself
// removed once it is empty.
void PutBackHoldingFolder(FileOps& files, const std::string& holding, const std::string& original,
                          std::vector<FileFailure>& failures) {
  std::optional<std::vector<FolderEntry>> entries = files.ListEntries(holding);
  if (!entries) {
    failures.push_back({holding, FailureCause::kUnreadable, "cannot be listed"});
    return;
  }
  const std::size_t before = failures.size();
  for (const FolderEntry& entry : *entries) {
    if (entry.is_folder) {
      failures.push_back({holding + entry.name, FailureCause::kOther, kNotAFile});
    } else {
      Collect(PutBack(files, holding, original, entry.name), failures);
    }
  }
  if (failures.size() == before) Collect(files.RemoveFolder(holding), failures);
}

// Removes the file at the created `path` when it is the transfer's own
// (UndoTransfer says when), and leaves any other.
std::optional<FileFailure> RemoveCreated(FileOps& files, const UnfinishedTransfer& transfer, const std::string& path) {
  const std::string at = transfer.destination + path;
  std::optional<bool> there = files.HasFileNamedExactly(at);
  if (!there) return FileFailure{at, FailureCause::kUnreadable, kCannotLookUp};
  if (!*there) return std::nullopt;  // never given its name, or removed by an earlier try
  if (transfer.moved_aside.count(path) != 0) {
    const std::string held = HoldingFolder(transfer, FolderPart(path)) + path.substr(NameStart(path));
    std::optional<bool> safe = files.HasFileNamedExactly(held);
    if (!safe) return FileFailure{held, FailureCause::kUnreadable, kCannotLookUp};
    if (!*safe) return std::nullopt;  // the file that stood there: it never left, or it is back
  }
  return files.RemoveFile(at);
}

// The folders whose entries the undo changed, for making them durable.
std::vector<std::string> ChangedFolders(const UnfinishedTransfer& transfer) {
  std::set<std::string> folders{transfer.destination};
  for (const std::string& folder : transfer.holding_folders) folders.insert(transfer.destination + folder);
  for (const std::string& path : transfer.created) folders.insert(transfer.destination + FolderPart(path));
  for (const std::string& folder : transfer.made_folders) folders.insert(transfer.destination + ParentFolder(folder));
  for (const std::string& folder : transfer.made_folders) folders.erase(transfer.destination + folder);  // gone
  return {folders.begin(), folders.end()};
}

}  // namespace

bool SearchedForHoldingFolders(const std::string& folder) {
  auto is_it = [&](const catalogue::Subfolder& subfolder) { return subfolder.folder == folder; };
  return folder.empty() || std::any_of(catalogue::kSubfolders.begin(), catalogue::kSubfolders.end(), is_it);
}

// A new file that cannot go keeps its held file from going back (its name
// is taken); every other held file goes back all the same, and a later try
// starts from the same proofs.
std::vector<FileFailure> UndoTransfer(FileOps& files, const UnfinishedTransfer& transfer) {
  std::vector<FileFailure> failures;
  for (auto path = transfer.created.rbegin(); path != transfer.created.rend(); ++path) {
    Collect(RemoveCreated(files, transfer, *path), failures);
  }
  for (const std::string& folder : transfer.holding_folders) {
    PutBackHoldingFolder(files, HoldingFolder(transfer, folder), transfer.destination + folder, failures);
  }
  RemoveCutOffCopies(files, transfer);
  for (auto folder = transfer.made_folders.rbegin(); folder != transfer.made_folders.rend(); ++folder) {
    Collect(files.RemoveFolder(transfer.destination + folder->substr(0, folder->size() - 1)), failures);
  }
  // What was put back must survive a power cut before the journal goes.
  if (failures.empty() && !files.MakeDurable({}, ChangedFolders(transfer))) {
    failures.push_back({transfer.destination, FailureCause::kOther, "cannot be made durable"});
  }
  return failures;
}

std::vector<FileFailure> FinishTransfer(FileOps& files, const UnfinishedTransfer& transfer) {
  std::vector<FileFailure> failures;
  for (const std::string& folder : transfer.holding_folders) {
    Collect(files.RemoveOwnFolder(HoldingFolder(transfer, folder)), failures);
  }
  return failures;
}

void RemoveCutOffCopies(FileOps& files, const UnfinishedTransfer& transfer) {
  std::set<std::string> folders{""};
  for (const catalogue::Subfolder& subfolder : catalogue::kSubfolders) folders.emplace(subfolder.folder);
  for (const std::string& folder : transfer.holding_folders) folders.insert(folder);
  for (const std::string& path : transfer.created) folders.insert(FolderPart(path));
  for (const std::string& folder : transfer.made_folders) folders.erase(folder);  // gone with the undo
  for (const std::string& folder : folders) files.RemoveLeftoverTemporaryFiles(transfer.destination + folder);
}

}  // namespace tolvashu
