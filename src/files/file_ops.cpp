// The rules shared by every backend: one enumeration, taken as a snapshot
// (and taken again only when the folder has changed, where the backend can
// tell); one current file at a time, items read from its decoded text, lines
// written in code page 932 with CR LF.
#include "files/file_ops.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "text/text_codec.h"

namespace tolvashu {

FileOps::FileOps() = default;

FileOps::~FileOps() = default;

std::unique_ptr<FolderWatch> FileOps::WatchFolder(const std::string&) { return nullptr; }

void FileOps::ExpectCopies(std::vector<ExpectedCopy>) {}

namespace {

// The listings kept for enumerations started again: enough for a source
// folder and its two data subfolders, each enumerated in turn.
constexpr std::size_t kRecentListings = 4;

}  // namespace

// The names of the pattern's recent listing, if its folder has not changed
// since it was read; nullptr otherwise.
std::shared_ptr<const std::vector<std::string>> FileOps::ListingStillHeld(const std::string& pattern) {
  auto recent = std::find_if(recent_listings_.begin(), recent_listings_.end(),
                             [&](const RecentListing& listing) { return listing.pattern == pattern; });
  if (recent == recent_listings_.end()) return nullptr;
  if (recent->watch && !recent->watch->Changed()) return recent->names;
  recent_listings_.erase(recent);
  return nullptr;
}

// The folder is watched before it is read, so that a change made during the
// reading shows as a change at the next look.
std::shared_ptr<const std::vector<std::string>> FileOps::ReadListing(const std::string& pattern) {
  std::unique_ptr<FolderWatch> watch = WatchFolder(pattern);
  FileList list = ListFiles(pattern);
  last_failure_ = std::move(list.unreadable);
  if (!list.ok()) return nullptr;
  auto names = std::make_shared<const std::vector<std::string>>(std::move(list.names));
  if (!watch) return names;
  if (recent_listings_.size() == kRecentListings) recent_listings_.erase(recent_listings_.begin());
  recent_listings_.push_back({pattern, names, std::move(watch)});
  return names;
}

std::optional<std::string> FileOps::FirstEntry(const std::string& pattern) {
  next_entry_ = 0;
  last_failure_.reset();
  entries_ = ListingStillHeld(pattern);
  if (!entries_) entries_ = ReadListing(pattern);
  if (!entries_) return std::nullopt;
  return NextEntry();
}

std::optional<std::string> FileOps::NextEntry() {
  if (!entries_) return std::nullopt;
  if (next_entry_ >= entries_->size()) return std::string();
  return (*entries_)[next_entry_++];
}

CopyResult FileOps::CopyFile(const std::string& source, const std::string& destination) {
  return CopyFile(source, destination, [](const std::string&, bool) { return Placement{}; });
}

template <typename File>
std::unique_ptr<File> FileOps::Keep(const std::string& path, Opened<File> opened) {
  if (opened.file) {
    last_failure_.reset();
  } else {
    last_failure_ = FileFailure{path, opened.cause, std::move(opened.reason)};
  }
  return std::move(opened.file);
}

void FileOps::SetChunkHook(std::function<void()> hook) {
  chunk_hook_ = hook ? std::move(hook) : [] {};
}

bool FileOps::OpenForWriting(const std::string& path) {
  last_failure_.reset();
  if (input_ || output_) return false;  // file number 1 is in use
  output_ = Keep(path, OpenOutput(path));
  return output_ != nullptr;
}

bool FileOps::CreateEmpty(const std::string& path) {
  if (!OpenForWriting(path)) return false;
  return CloseAll();
}

bool FileOps::OpenForReading(const std::string& path) {
  last_failure_.reset();
  if (input_ || output_) return false;  // file number 1 is in use
  input_ = Keep(path, OpenInput(path));
  return input_ != nullptr;
}

bool FileOps::LoadInput() {
  if (!input_) return false;
  if (reader_) return true;
  std::optional<std::string> bytes = input_->ReadAll();
  if (!bytes) return false;
  reader_.emplace(DecodeCp932(*bytes));
  return true;
}

std::optional<std::string> FileOps::ReadItem() {
  if (!LoadInput()) return std::nullopt;
  return reader_->ReadItem();
}

std::optional<bool> FileOps::AtEnd() {
  if (!LoadInput()) return std::nullopt;
  return reader_->AtEnd();
}

bool FileOps::WriteLine(const std::string& text) {
  if (!output_) return false;
  std::optional<std::string> bytes = EncodeCp932(text);
  if (!bytes) return false;
  bytes->append("\r\n");
  return output_->Write(*bytes);
}

bool FileOps::CloseAll() {
  bool ok = true;
  if (output_) ok = output_->Close();
  output_.reset();
  input_.reset();
  reader_.reset();
  return ok;
}

}  // namespace tolvashu
