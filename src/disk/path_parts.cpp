#include "disk/path_parts.h"

#include <utility>

namespace tolvashu {

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// «\», «/», «D:\»: the separator at its end is the root itself.
bool IsRoot(std::string_view path) {
  if (path.size() == 1) return IsPathSeparator(path[0]);
  return path.size() == 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsPathSeparator(path[2]);
}

}  // namespace

std::size_t NameStart(std::string_view path) {
  std::size_t last = path.find_last_of(kPathSeparators);
  if (last != std::string_view::npos) return last + 1;
  if (path.size() >= 2 && path[1] == ':' && IsDriveLetter(path[0])) return 2;
  return 0;
}

std::string FolderPart(std::string_view path) { return std::string(path.substr(0, NameStart(path))); }

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && !IsPathSeparator(folder.back())) folder += '\\';
  return folder;
}

std::string WithoutSeparator(std::string folder) {
  while (!folder.empty() && IsPathSeparator(folder.back()) && !IsRoot(folder)) folder.pop_back();
  return folder;
}

std::string ParentFolder(std::string folder) { return FolderPart(WithoutSeparator(std::move(folder))); }

}  // namespace tolvashu
