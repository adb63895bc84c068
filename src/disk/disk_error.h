// The one return convention of the disk's primitives (disk.h): a value, or
// an error that says what kind of trouble the primitive met (so that the
// layer above can decide what it means), what the user can do about it and
// the platform's own words for it.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace tolvashu {

// Why an existing file or folder could not be used, in the terms the user
// can act on: each cause has its own advice in the transfer report.
enum class FailureCause {
  kInUse,       // another program holds it open (sharing violation, lock)
  kDenied,      // read-only, or writing is not allowed there
  kDiskFull,    // no space left
  kUnreadable,  // a folder that cannot be listed, a file that cannot be read
  kOther,
};

struct DiskError {
  enum Kind {
    kAbsent,     // nothing is at the path
    kNoFolder,   // not even the folder that would hold the name is there
    kUnknown,    // a folder on the way cannot be read: whether anything is there is not known
    kTaken,      // something has the name already: nothing was replaced
    kWrongKind,  // a folder where a file was wanted, or a device, a pipe
    kMalformed,  // no path the system can reach: a drive that does not exist, a character no name may hold
    kFailed,     // the system refused or failed; `cause` says why
  };
  Kind kind = kFailed;
  FailureCause cause = FailureCause::kOther;
  std::string reason;  // short, from the platform

  // The errors every disk reports in the same words.
  static DiskError Absent(std::string reason = "no such file") { return {kAbsent, FailureCause::kOther, std::move(reason)}; }
  static DiskError NoFolder() { return {kNoFolder, FailureCause::kOther, "folder missing"}; }
  static DiskError Unknown() { return {kUnknown, FailureCause::kUnreadable, "folder cannot be listed"}; }
  static DiskError Taken() { return {kTaken, FailureCause::kOther, "already there"}; }
  static DiskError WrongKind(std::string reason = "not a file") {
    return {kWrongKind, FailureCause::kOther, std::move(reason)};
  }
};

// A value of type T, or an error of type E.
template <typename T, typename E = DiskError>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit, as a return value
  Result(E error) : error_(std::move(error)) {}  // NOLINT
  bool ok() const { return value_.has_value(); }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  // Only when !ok().
  const E& error() const { return *error_; }

 private:
  std::optional<T> value_;
  std::optional<E> error_;
};

// Nothing on success, or an error.
template <typename E>
class [[nodiscard]] Result<void, E> {
 public:
  Result() = default;
  Result(E error) : error_(std::move(error)) {}  // NOLINT
  bool ok() const { return !error_.has_value(); }
  const E& error() const { return *error_; }

 private:
  std::optional<E> error_;
};

}  // namespace tolvashu
