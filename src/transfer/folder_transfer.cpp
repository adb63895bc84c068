#include "transfer/folder_transfer.h"

#include <algorithm>
#include <utility>

#include "disk/path_parts.h"

namespace tolvashu {

FolderTransfer::FolderTransfer(FileOps& files, Transaction& destination, std::string source_folder,
                               ProgressNotice* notice)
    : files_(files), destination_(destination), source_folder_(std::move(source_folder)), notice_(notice) {}

bool FolderTransfer::Stopped() {
  interrupted_ = interrupted_ || (notice_ && notice_->Interrupted());
  return interrupted_ || !failures_.empty();
}

CopyOutcome FolderTransfer::Copy(std::string_view name) {
  if (Stopped()) return CopyOutcome::kFailed;
  TransferRecord& record = destination_.record();
  if (record.AlreadyCopied(name)) return CopyOutcome::kCopied;
  if (notice_) notice_->CopyingFile(name);
  CopyResult result = destination_.Copy(source_folder_ + std::string(name), std::string(name));
  if (result.outcome == CopyOutcome::kFailed) {
    std::string failed = result.failed_path.empty() ? destination_folder() + std::string(name)
                                                          : std::move(result.failed_path);
    Collect({std::move(failed), result.cause, std::move(result.reason)});
  } else if (result.ok() && notice_) {
    notice_->FileCopied(name);
  }
  record.Copied(name, result.ok());
  return result.outcome;
}

void FolderTransfer::ExpectCopies(const std::vector<std::string>& names) {
  std::vector<ExpectedCopy> copies;
  for (const std::string& name : names) {
    if (!Stopped() && !destination_.record().AlreadyCopied(name)) {
      copies.push_back({source_folder_ + name, destination_folder() + name});
    }
  }
  files_.ExpectCopies(std::move(copies));
}

void FolderTransfer::Delete(std::string_view pattern) {
  if (Stopped()) return;
  if (notice_) notice_->StillWorking();
  destination_.record().Changed(pattern);
  for (FileFailure& failure : destination_.Delete(std::string(pattern))) Collect(std::move(failure));
}

void FolderTransfer::Empty(std::string_view name) {
  if (Stopped()) return;
  if (notice_) notice_->StillWorking();
  destination_.record().Changed(name);
  if (std::optional<FileFailure> failure = destination_.Empty(std::string(name))) Collect(std::move(*failure));
}

void FolderTransfer::MakeFoldersFor(std::string_view name) {
  if (Stopped()) return;
  const std::string path(name);
  if (files_.HasFile(source_folder_ + path) != true) return;
  if (std::optional<FileFailure> failure = destination_.MakeFolders(FolderPart(path))) {
    Collect(std::move(*failure));
  }
}

std::optional<std::string> FolderTransfer::FirstSourceEntry(std::string_view pattern) {
  if (Stopped()) return std::nullopt;
  std::optional<std::string> entry = files_.FirstEntry(source_folder_ + std::string(pattern));
  if (!entry && files_.LastFailure()) Collect(*files_.LastFailure());
  return entry;
}

bool FolderTransfer::CanListSource(std::string_view pattern) {
  return FirstSourceEntry(pattern) || !Stopped();
}

void FolderTransfer::Collect(FileFailure failure) {
  bool known = std::any_of(failures_.begin(), failures_.end(),
                           [&](const FileFailure& met) { return met.path == failure.path; });
  if (!known) failures_.push_back(std::move(failure));
}

std::vector<FileFailure> FolderTransfer::TakeFailures() { return std::exchange(failures_, {}); }

}  // namespace tolvashu
