#include "transfer/folder_transfer.h"

#include <algorithm>
#include <utility>

#include "files/wildcard.h"

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

CopyOutcome FolderTransfer::Copy(std::string_view name) {
  if (memo_.AlreadyCopied(name)) return CopyOutcome::kCopied;
  if (notice_) notice_->CopyingFile(name);
  std::string destination = destination_folder_ + std::string(name);
  CopyResult result = files_.CopyFile(source_folder_ + std::string(name), destination);
  // A copy that fails where the same copy succeeded before, with nothing
  // deleted or emptied since, leaves the right content in place: no failure.
  if (result.outcome == CopyOutcome::kFailed && written_.count(destination) == 0) {
    std::string failed = result.unreadable_folder.empty() ? destination : std::move(result.unreadable_folder);
    Collect({std::move(failed), result.cause, std::move(result.reason)});
  } else if (result.ok()) {
    Forget(destination);
    written_.insert(destination);
    if (notice_) notice_->FileCopied(name);
  }
  memo_.Copied(name, result.ok());
  return result.outcome;
}

void FolderTransfer::Delete(std::string_view pattern) {
  if (notice_) notice_->StillWorking();
  memo_.Changed(pattern);
  if (HasWildcard(pattern)) {
    written_.clear();
  } else {
    written_.erase(destination_folder_ + std::string(pattern));
  }
  DeleteResult result = files_.DeleteMatching(destination_folder_ + std::string(pattern));
  for (FileFailure& failure : result.failures) Collect(std::move(failure));
}

void FolderTransfer::Empty(std::string_view name) {
  if (notice_) notice_->StillWorking();
  memo_.Changed(name);
  std::string path = destination_folder_ + std::string(name);
  written_.erase(path);
  if (files_.CreateEmpty(path)) return;
  std::optional<FileFailure> failure = files_.LastFailure();
  // Opening it may have failed only because another program holds it: the
  // folder's own record of it decides whether it is there.
  if (files_.HasFile(path) == false) return;
  Collect(failure ? std::move(*failure) : FileFailure{path, FailureCause::kOther, kCannotEmpty});
}

std::optional<std::string> FolderTransfer::FirstSourceEntry(std::string_view pattern) {
  std::optional<std::string> entry = files_.FirstEntry(source_folder_ + std::string(pattern));
  if (!entry && files_.LastFailure()) Collect(*files_.LastFailure());
  return entry;
}

bool FolderTransfer::CanListSource(std::string_view pattern) {
  return FirstSourceEntry(pattern) || !files_.LastFailure();
}

void FolderTransfer::Collect(FileFailure failure) {
  if (!reported_paths_.insert(failure.path).second) return;
  report_.failures.push_back(std::move(failure));
}

void FolderTransfer::Forget(const std::string& path) {
  if (reported_paths_.erase(path) == 0) return;
  std::vector<FileFailure>& failures = report_.failures;
  failures.erase(std::remove_if(failures.begin(), failures.end(),
                                [&](const FileFailure& failure) { return failure.path == path; }),
                 failures.end());
}

TransferReport FolderTransfer::TakeReport() {
  reported_paths_.clear();
  return std::exchange(report_, TransferReport{});
}

}  // namespace tolvashu
