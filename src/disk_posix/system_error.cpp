#include "disk_posix/system_error.h"

#include <cerrno>
#include <system_error>
#include <utility>

namespace tolvashu {

FailureCause CauseOfError(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return FailureCause::kDenied;
    case ENOSPC:
    case EDQUOT:
      return FailureCause::kDiskFull;
    case ETXTBSY:
    case EBUSY:
      return FailureCause::kInUse;
    default:
      return FailureCause::kOther;
  }
}

DiskError ErrorOf(int error) {
  DiskError::Kind kind = DiskError::kFailed;
  if (error == ENOENT) kind = DiskError::kAbsent;
  if (error == EEXIST) kind = DiskError::kTaken;
  if (error == EISDIR || error == ENOTDIR) kind = DiskError::kWrongKind;
  return {kind, CauseOfError(error), std::generic_category().message(error)};
}

DiskError FailedWith(int error) { return Failed(CauseOfError(error), std::generic_category().message(error)); }

DiskError Failed(FailureCause cause, std::string reason) { return {DiskError::kFailed, cause, std::move(reason)}; }

bool SaysAbsent(int error) { return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP; }

}  // namespace tolvashu
