// Copies written ahead by a helper thread, while the transfer places the
// one before (moves the old file aside, writes its journal, links the new
// one): the data of one copy and the folder changes of another then run on
// two processor cores instead of one after the other.
//
// The helper writes each expected copy into an unnamed temporary file
// (temporary_file.h), so what it wrote is invisible, and gone with its
// handle, until CopyFile links it to its destination. It only ever writes
// such files: the destination, its checks, the placement and every failure
// stay with CopyFile. A copy that the helper could not write (a source not
// spelled as on disk, a folder without unnamed files, a full disk) is
// simply not there to take, and CopyFile writes it anew, meeting and
// reporting the failure itself.
//
// Each expected copy belongs to whichever side claims it first: the helper
// to write it, or the caller to drop it or, while it waits for the helper,
// to write it itself. So the two never wait for each other's locks: a side
// sleeps only when it has nothing to do, and is woken only then.
#pragma once

#include <sys/stat.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "disk_posix/unique_fd.h"

namespace tolvashu {

class CopyAhead {
 public:
  struct Job {
    std::string source;       // as the caller named it
    std::string destination;  // as the caller named it
    std::string source_on_disk;
    std::string folder_on_disk;  // the destination's folder as written
  };
  // The content of a source, complete, in an unnamed file; for a large
  // file only the source, opened, which the caller copies itself (the
  // helper goes on with the next ones meanwhile, and the caller never
  // waits for a long copy).
  struct Written {
    UniqueFd file;    // not valid for a large file
    UniqueFd source;  // valid for a large file only
    struct stat source_status;
  };

  CopyAhead() = default;
  CopyAhead(const CopyAhead&) = delete;
  CopyAhead& operator=(const CopyAhead&) = delete;
  // Waits for the copy under way; what was written and not taken is freed.
  ~CopyAhead();

  // Replaces the expected copies, in the order they will be asked for.
  void Expect(std::vector<Job> jobs);

  // What was written ahead for `source` to `destination`, once it is done,
  // when that copy is expected; the expected copies before it are dropped.
  // std::nullopt when it is not expected or could not be written ahead.
  std::optional<Written> Take(const std::string& source, const std::string& destination);

 private:
  enum class State { kExpected, kWriting, kWritten, kNotWritten, kDropped };
  struct Slot {
    Job job;
    std::atomic<State> state{State::kExpected};
    std::optional<Written> written;  // set before the state says kWritten
  };
  struct Batch {
    explicit Batch(std::vector<Job> jobs);
    std::vector<Slot> slots;
    std::atomic<std::size_t> next_to_take{0};  // moved on by the caller only
  };

  void WriteAhead();
  // The next copy the helper may write of `batch`, claimed; none when it is
  // far enough ahead or at the end.
  Slot* ClaimNext(Batch& batch, std::size_t& cursor);
  static bool MayClaim(const Batch& batch, std::size_t cursor);
  bool WorthWaking(const Batch& batch) const;
  std::optional<Written> WaitFor(Slot& slot);
  // Writes the first copy from `from` on that nobody has begun; false when
  // there is none within reach.
  static bool WriteNextFree(Batch& batch, std::size_t from);

  std::shared_ptr<Batch> taking_;  // the caller's
  std::shared_ptr<Batch> batch_;   // for the helper, under mutex_
  std::atomic<std::size_t> helper_at_{0};  // where the helper is in its batch
  std::atomic<bool> stopping_{false};
  std::atomic<bool> helper_waits_{false};
  std::atomic<bool> taker_waits_{false};
  std::mutex mutex_;  // only for going to sleep and waking up
  std::condition_variable helper_wake_;
  std::condition_variable taker_wake_;
  std::thread helper_;
};

}  // namespace tolvashu
