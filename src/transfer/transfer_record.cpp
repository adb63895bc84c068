#include "transfer/transfer_record.h"

#include "text/ascii_upper.h"

namespace tolvashu {

namespace {

bool IsPlainCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

// One component, no leading, trailing or doubled dot.
bool IsPlain(std::string_view name) {
  if (name.empty() || name.front() == '.' || name.back() == '.') return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '.' ? name[i + 1] == '.' : !IsPlainCharacter(name[i])) return false;
  }
  return true;
}

}  // namespace

bool TransferRecord::AlreadyCopied(std::string_view name) const {
  if (!IsPlain(name)) return false;
  auto found = copied_.find(AsciiUpper(name));
  return found != copied_.end() && found->second == name;
}

void TransferRecord::Copied(std::string_view name, bool copied) {
  if (!IsPlain(name)) {
    copied_.clear();
  } else if (copied) {
    copied_[AsciiUpper(name)] = std::string(name);
  } else {
    copied_.erase(AsciiUpper(name));
  }
}

void TransferRecord::Changed(std::string_view name_or_pattern) {
  if (IsPlain(name_or_pattern)) {
    copied_.erase(AsciiUpper(name_or_pattern));
  } else {
    copied_.clear();
  }
}

void TransferRecord::HoldingFolderMade(const std::string& folder) { holding_folders_.push_back(folder); }

void TransferRecord::Created(const std::string& path) {
  if (created_set_.insert(path).second) created_.push_back(path);
}

}  // namespace tolvashu
