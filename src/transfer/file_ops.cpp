// The rules shared by every backend: one enumeration, taken as a snapshot;
// one current file at a time, items read from its decoded text, lines
// written in code page 932 with CR LF.
#include "transfer/file_ops.h"

#include <utility>

#include "transfer/text_codec.h"

namespace tolvashu {

FileOps::FileOps() = default;

FileOps::~FileOps() = default;

std::optional<std::string> FileOps::FirstEntry(const std::string& pattern) {
  entries_.reset();
  next_entry_ = 0;
  FileList list = ListFiles(pattern);
  last_failure_ = std::move(list.unreadable);
  if (!list.ok()) return std::nullopt;
  entries_ = std::move(list.names);
  return NextEntry();
}

std::optional<std::string> FileOps::NextEntry() {
  if (!entries_) return std::nullopt;
  if (next_entry_ >= entries_->size()) return std::string();
  return (*entries_)[next_entry_++];
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
