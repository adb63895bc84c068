#include "disk_posix/copy_ahead.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "disk_posix/content_copy.h"
#include "disk_posix/temporary_file.h"

namespace tolvashu {

namespace {

// How far the helper may run ahead of the copies taken: enough to keep it
// busy while copies are placed, few enough that a transfer stopped by a
// failure wastes little work and never holds much of the disk. Once it is
// that far ahead it sleeps until half of them are taken.
constexpr std::size_t kFilesAhead = 16;
constexpr std::size_t kRefill = kFilesAhead / 2;

// How long the caller looks for a copy under way to be done before it goes
// to sleep, which costs two system calls: some tens of microseconds, about
// what the helper takes for a file of a few hundred kilobytes.
constexpr int kSpins = 2000;

void Pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// From this size on the caller copies a file itself (see Written).
constexpr off_t kLargeFile = off_t{1} << 20;

// Never hang on a pipe met by mistake, never take a terminal for our own.
constexpr int kSourceFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

std::optional<CopyAhead::Written> Write(const CopyAhead::Job& job) {
  UniqueFd source(open(job.source_on_disk.c_str(), kSourceFlags));
  struct stat status;
  if (!source.valid() || fstat(source.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  if (status.st_size >= kLargeFile) return CopyAhead::Written{UniqueFd(), std::move(source), status};
  TemporaryFile file;
  if (file.CreateUnnamed(job.folder_on_disk) != 0) return std::nullopt;
  if (CopyContent(source.get(), file.fd(), status.st_size) != 0) return std::nullopt;
  file.KeepModificationTime(status.st_mtim);
  file.StartWritingBack(status.st_size);
  return CopyAhead::Written{file.TakeUnnamed(), UniqueFd(), status};
}

}  // namespace

CopyAhead::Batch::Batch(std::vector<Job> jobs) : slots(jobs.size()) {
  for (std::size_t i = 0; i < jobs.size(); ++i) slots[i].job = std::move(jobs[i]);
}

CopyAhead::~CopyAhead() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  helper_wake_.notify_one();
  if (helper_.joinable()) helper_.join();
}

void CopyAhead::Expect(std::vector<Job> jobs) {
  std::shared_ptr<Batch> batch = jobs.empty() ? nullptr : std::make_shared<Batch>(std::move(jobs));
  taking_ = batch;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    batch_ = batch;
  }
  helper_wake_.notify_one();
  if (batch && !helper_.joinable()) helper_ = std::thread([this] { WriteAhead(); });
}

std::optional<CopyAhead::Written> CopyAhead::Take(const std::string& source, const std::string& destination) {
  if (!taking_) return std::nullopt;
  Batch& batch = *taking_;
  const std::size_t first = batch.next_to_take.load();
  std::size_t index = first;
  while (index < batch.slots.size() &&
         (batch.slots[index].job.source != source || batch.slots[index].job.destination != destination)) {
    ++index;
  }
  if (index == batch.slots.size()) return std::nullopt;
  for (std::size_t skipped = first; skipped < index; ++skipped) {
    State expected = State::kExpected;
    batch.slots[skipped].state.compare_exchange_strong(expected, State::kDropped);
  }
  Slot& slot = batch.slots[index];
  State expected = State::kExpected;
  const bool not_started = slot.state.compare_exchange_strong(expected, State::kDropped);
  batch.next_to_take.store(index + 1);
  if (helper_waits_.load() && WorthWaking(batch)) {
    { std::lock_guard<std::mutex> lock(mutex_); }  // the helper is asleep, or about to check again
    helper_wake_.notify_one();
  }
  if (not_started) return std::nullopt;  // the caller writes this one sooner itself
  // While the helper is at this copy, the caller writes the next ones that
  // the helper has not begun, rather than wait idle.
  while (slot.state.load() == State::kWriting && WriteNextFree(batch, index + 1)) {
  }
  return WaitFor(slot);
}

bool CopyAhead::WriteNextFree(Batch& batch, std::size_t from) {
  const std::size_t end = std::min(batch.slots.size(), from + kFilesAhead);
  for (std::size_t index = from; index < end; ++index) {
    Slot& next = batch.slots[index];
    State expected = State::kExpected;
    if (!next.state.compare_exchange_strong(expected, State::kWriting)) continue;
    next.written = Write(next.job);
    next.state.store(next.written ? State::kWritten : State::kNotWritten);
    return true;
  }
  return false;
}

std::optional<CopyAhead::Written> CopyAhead::WaitFor(Slot& slot) {
  for (int spin = 0; spin < kSpins && slot.state.load() == State::kWriting; ++spin) Pause();
  if (slot.state.load() == State::kWriting) {
    std::unique_lock<std::mutex> lock(mutex_);
    taker_waits_ = true;
    taker_wake_.wait(lock, [&] { return slot.state.load() != State::kWriting; });
    taker_waits_ = false;
  }
  if (slot.state.load() != State::kWritten) return std::nullopt;
  return std::exchange(slot.written, std::nullopt);
}

// Enough room for a run of copies, or for all that are left.
bool CopyAhead::WorthWaking(const Batch& batch) const {
  const std::size_t take = batch.next_to_take.load();
  const std::size_t at = std::max(helper_at_.load(), take);
  const std::size_t limit = std::min(batch.slots.size(), take + kFilesAhead);
  return at < limit && (limit - at >= kRefill || limit == batch.slots.size());
}

bool CopyAhead::MayClaim(const Batch& batch, std::size_t cursor) {
  const std::size_t take = batch.next_to_take.load();
  cursor = std::max(cursor, take);
  return cursor < batch.slots.size() && cursor < take + kFilesAhead;
}

CopyAhead::Slot* CopyAhead::ClaimNext(Batch& batch, std::size_t& cursor) {
  for (;;) {
    cursor = std::max(cursor, batch.next_to_take.load());  // those before were dropped
    helper_at_.store(cursor);
    if (!MayClaim(batch, cursor)) return nullptr;
    Slot& slot = batch.slots[cursor++];
    State expected = State::kExpected;
    if (slot.state.compare_exchange_strong(expected, State::kWriting)) return &slot;
  }
}

void CopyAhead::WriteAhead() {
  std::shared_ptr<Batch> batch;
  std::size_t cursor = 0;
  while (!stopping_) {
    Slot* slot = batch ? ClaimNext(*batch, cursor) : nullptr;
    if (slot == nullptr) {
      std::unique_lock<std::mutex> lock(mutex_);
      helper_waits_ = true;
      helper_wake_.wait(lock, [&] {
        if (stopping_ || batch_ != batch) return true;
        return batch && MayClaim(*batch, cursor);
      });
      helper_waits_ = false;
      if (batch_ != batch) {
        batch = batch_;
        cursor = 0;
      }
      continue;
    }
    std::optional<Written> written = Write(slot->job);
    const bool whole = written.has_value();
    slot->written = std::move(written);
    slot->state.store(whole ? State::kWritten : State::kNotWritten);
    if (taker_waits_.load()) {
      { std::lock_guard<std::mutex> lock(mutex_); }  // the caller is asleep, or about to check again
      taker_wake_.notify_one();
    }
  }
}

}  // namespace tolvashu
