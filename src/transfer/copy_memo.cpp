#include "transfer/copy_memo.h"

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

bool CopyMemo::AlreadyCopied(std::string_view name) const {
  if (!IsPlain(name)) return false;
  auto found = copied_.find(AsciiUpper(name));
  return found != copied_.end() && found->second == name;
}

void CopyMemo::Copied(std::string_view name, bool copied) {
  if (!IsPlain(name)) {
    copied_.clear();
  } else if (copied) {
    copied_[AsciiUpper(name)] = std::string(name);
  } else {
    copied_.erase(AsciiUpper(name));
  }
}

void CopyMemo::Changed(std::string_view name_or_pattern) {
  if (IsPlain(name_or_pattern)) {
    copied_.erase(AsciiUpper(name_or_pattern));
  } else {
    copied_.clear();
  }
}

}  // namespace tolvashu
