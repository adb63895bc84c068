// StageCopy on POSIX: the copy's content goes into a temporary file beside
// its destination (an unnamed one where the file system makes them), made
// through a handle of the destination's folder kept from earlier copies, or
// is taken as the helper wrote it ahead (copy_ahead.h). Keep links or renames
// it to the destination's name, which must be free. There is no fsync here:
// the file takes its name only whole, so a failed copy never leaves a
// half-written destination, and a transfer makes all of its files durable at
// once when it commits (MakeDurable), which costs far less than syncing every
// one of its thousands of files. The write-back helper keeps the content
// moving to the disk meanwhile.
//
// A handle kept from earlier copies may stand for a folder moved or removed
// since: the copy then fails, or its temporary file starts out in the moved
// folder, and the link or rename still puts it where the path leads. A copy
// that failed through a kept handle is made once more through a new one,
// and one whose content was written ahead, once more from the source itself.
// The old file may be moved aside by then, so a source that is gone at that
// point fails the copy.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "disk/path_parts.h"
#include "disk_posix/content_copy.h"
#include "disk_posix/posix_disk.h"
#include "disk_posix/system_error.h"
#include "disk_posix/temporary_file.h"

namespace tolvashu {

namespace {

class PosixStagedFile : public StagedFile {
 public:
  PosixStagedFile(PosixDisk& disk, ResolvedPath destination, std::string source_path)
      : StagedFile(EntryOf(destination)),
        disk_(disk),
        destination_(std::move(destination)),
        source_path_(std::move(source_path)) {}

  // Returns 0 or the errno value of the failure.
  int Write(PosixDisk::CopySource& source, std::optional<CopyAhead::Written>& ahead) {
    if (ahead) return Adopt(source, *ahead);
    bool kept = false;
    int error = WriteThroughHandle(source, kept);
    if (error != 0 && kept) {
      disk_.folders().Forget(destination_.folder);
      if (lseek(source.fd.get(), 0, SEEK_SET) == 0) error = WriteThroughHandle(source, kept);
    }
    retry_may_help_ = kept;
    return error;
  }

  Result<void> Keep() override {
    disk_.ForgetLook();  // the name is about to change
    int error = temporary_->MoveTo(destination_.path, /*replace=*/false);
    if (error != 0 && error != EEXIST && retry_may_help_) error = WriteAgainAndMove();
    if (error == EEXIST) return DiskError::Taken();
    if (error != 0) return FailedWith(error);
    disk_.resolver().names().NoteAdded(destination_.folder, destination_.name);
    return {};
  }

 private:
  int Adopt(const PosixDisk::CopySource& source, CopyAhead::Written& ahead) {
    FolderHandles::Handle handle = disk_.folders().Get(destination_.folder);
    if (!handle.folder) return errno;
    if (!handle.kept) disk_.write_back().Watch(destination_.folder);
    folder_ = handle.folder;
    temporary_.emplace();
    temporary_->AdoptUnnamed(folder_->fd.get(), std::move(ahead.file));
    disk_.write_back().Written(source.status.st_size);
    retry_may_help_ = true;
    return 0;
  }

  // `kept` tells whether the folder's handle was kept from an earlier copy.
  int WriteThroughHandle(const PosixDisk::CopySource& source, bool& kept) {
    FolderHandles::Handle handle = disk_.folders().Get(destination_.folder);
    kept = handle.kept;
    if (!handle.folder) return errno;
    if (!handle.kept) disk_.write_back().Watch(destination_.folder);
    temporary_.reset();  // before the handle it was made through
    folder_ = handle.folder;
    temporary_.emplace();
    if (int error = temporary_->Create(folder_->fd.get(), folder_->unnamed_files)) return error;
    if (int error = CopyContent(source.fd.get(), temporary_->fd(), source.status.st_size)) return error;
    temporary_->KeepModificationTime(source.status.st_mtim);
    temporary_->StartWritingBack(source.status.st_size);
    disk_.write_back().Written(source.status.st_size);
    return 0;
  }

  int WriteAgainAndMove() {
    disk_.folders().Forget(destination_.folder);
    Result<PosixDisk::CopySource> source = disk_.OpenCopySource(source_path_);
    if (!source.ok()) return source.error().kind == DiskError::kAbsent ? ENOENT : EIO;
    bool kept = false;
    if (int error = WriteThroughHandle(*source, kept)) return error;
    return temporary_->MoveTo(destination_.path, /*replace=*/false);
  }

  PosixDisk& disk_;
  const ResolvedPath destination_;
  const std::string source_path_;
  std::shared_ptr<FolderHandles::Folder> folder_;  // open for as long as the temporary file needs it
  std::optional<TemporaryFile> temporary_;  // destroyed before `folder_`
  bool retry_may_help_ = false;  // written ahead, or through a handle kept from an earlier copy
};

}  // namespace

Result<std::unique_ptr<StagedFile>, StageError> PosixDisk::StageCopy(const std::string& source_path,
                                                                     const std::string& destination_path,
                                                                     const ChunkHook&) {
  ForgetLook();
  std::optional<CopyAhead::Written> ahead = copy_ahead_.Take(source_path, destination_path);
  CopySource source;
  if (ahead && !ahead->file.valid()) {  // opened ahead only: copied here
    source = {std::move(ahead->source), ahead->source_status};
    ahead.reset();
  } else if (ahead) {
    source.status = ahead->source_status;
  } else {
    Result<CopySource> opened = OpenCopySource(source_path);
    if (!opened.ok()) return StageError{true, opened.error()};
    source = std::move(*opened);
  }
  ResolvedPath destination = resolver_.Resolve(destination_path);
  if (destination.unknown) return StageError{false, DiskError::Unknown()};
  if (!destination.folder_exists) return StageError{false, DiskError::NoFolder()};
  auto staged = std::make_unique<PosixStagedFile>(*this, destination, source_path);
  if (int error = staged->Write(source, ahead)) return StageError{false, FailedWith(error)};
  KeepLook(destination_path, destination);
  return std::unique_ptr<StagedFile>(std::move(staged));
}

}  // namespace tolvashu
