#include "transfer/folder_transfer.h"

#include <utility>

namespace tolvashu {

namespace {

constexpr char kCannotEmpty[] = "cannot be emptied";

}  // namespace

FolderTransfer::FolderTransfer(FileOps& files, std::string source_folder, std::string destination_folder,
                               ProgressNotice* notice)
    : files_(files),
      source_folder_(std::move(source_folder)),
      destination_folder_(std::move(destination_folder)),
      notice_(notice) {}

bool FolderTransfer::Copy(std::string_view name) {
  if (memo_.AlreadyCopied(name)) return true;
  if (notice_) notice_->CopyingFile(name);
  std::string destination = destination_folder_ + std::string(name);
  CopyResult result = files_.CopyFile(source_folder_ + std::string(name), destination);
  if (result.outcome == CopyOutcome::kFailed) Collect({destination, result.reason});
  memo_.Copied(name, result.ok());
  return result.ok();
}

void FolderTransfer::Delete(std::string_view pattern) {
  if (notice_) notice_->StillWorking();
  memo_.Changed(pattern);
  DeleteResult result = files_.DeleteMatching(destination_folder_ + std::string(pattern));
  for (FileFailure& failure : result.failures) Collect(std::move(failure));
}

void FolderTransfer::Empty(std::string_view name) {
  if (notice_) notice_->StillWorking();
  memo_.Changed(name);
  std::string path = destination_folder_ + std::string(name);
  if (files_.CreateEmpty(path)) return;
  // Opening for reading proves the file is there without disturbing an
  // enumeration in progress.
  bool still_there = files_.OpenForReading(path);
  files_.CloseAll();
  if (still_there) Collect({path, kCannotEmpty});
}

void FolderTransfer::Collect(FileFailure failure) {
  if (!reported_paths_.insert(failure.path).second) return;
  report_.failures.push_back(std::move(failure));
}

TransferReport FolderTransfer::TakeReport() {
  reported_paths_.clear();
  return std::exchange(report_, TransferReport{});
}

}  // namespace tolvashu
