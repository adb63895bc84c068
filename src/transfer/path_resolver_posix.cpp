#include "transfer/path_resolver_posix.h"

#include <unistd.h>

#include <cerrno>

#include "transfer/pattern_parts.h"

namespace tolvashu {

namespace {

// Appends the names of `path` to `components`, applying `.` and `..`.
void AppendComponents(std::string_view path, std::vector<std::string>& components) {
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t end = at;
    while (end < path.size() && !IsPathSeparator(path[end])) ++end;
    std::string_view name = path.substr(at, end - at);
    if (name == "..") {
      if (!components.empty()) components.pop_back();  // the root's parent is the root
    } else if (!name.empty() && name != ".") {
      components.emplace_back(name);
    }
    at = end + 1;
  }
}

std::optional<std::vector<std::string>> AbsoluteComponents(std::string_view windows_path) {
  std::vector<std::string> components;
  if (!IsPathSeparator(windows_path.front())) {
    std::optional<std::string> working = WorkingFolder();
    if (!working) return std::nullopt;
    AppendComponents(*working, components);
  }
  AppendComponents(windows_path, components);
  return components;
}

// The errors of stat that say "nothing is there", as opposed to "something
// on the way could not be looked into" (EACCES, EIO).
bool SaysAbsent(int error) { return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP; }

std::string JoinComponents(const std::vector<std::string>& components, std::size_t count) {
  if (count == 0) return "/";
  std::string path;
  for (std::size_t i = 0; i < count; ++i) {
    path += '/';
    path += components[i];
  }
  return path;
}

}  // namespace

std::string ChildPath(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path != "/") path += '/';
  path += name;
  return path;
}

std::optional<std::string> WorkingFolder() {
  std::string buffer(256, '\0');
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) {
      buffer.resize(buffer.find('\0'));
      return buffer;
    }
    if (errno != ERANGE) return std::nullopt;
    buffer.resize(buffer.size() * 2);
  }
}

// The name as written first: one stat when the path is spelled as on disk.
// Otherwise the folder is found the same way, and the name is looked up in
// its listing.
std::optional<PathResolver::Entry> PathResolver::FindExisting(const Components& components, std::size_t count,
                                                              bool& unknown) {
  Entry entry{JoinComponents(components, count), {}};
  if (stat(entry.path.c_str(), &entry.status) == 0) return entry;
  if (!SaysAbsent(errno)) {
    unknown = true;
    return std::nullopt;
  }
  if (count == 0) return std::nullopt;
  std::optional<Entry> folder = FindExisting(components, count - 1, unknown);
  if (!folder) return std::nullopt;
  return FindInFolder(*folder, components[count - 1], unknown);
}

// The entry of an existing folder whose name differs from `name` only in
// case, after the exact name has been found missing.
std::optional<PathResolver::Entry> PathResolver::FindInFolder(const Entry& folder, const std::string& name,
                                                              bool& unknown) {
  if (!S_ISDIR(folder.status.st_mode)) return std::nullopt;
  FolderNames::Lookup variant = names_.FindVariant(folder.path, folder.status, name);
  if (!variant.listed) unknown = true;
  if (!variant.name) return std::nullopt;
  Entry entry{ChildPath(folder.path, *variant.name), {}};
  if (stat(entry.path.c_str(), &entry.status) != 0) {
    if (!SaysAbsent(errno)) unknown = true;
    return std::nullopt;
  }
  return entry;
}

ResolvedPath PathResolver::Resolve(std::string_view windows_path) {
  ResolvedPath resolved;
  if (windows_path.empty()) return resolved;
  std::optional<Components> components = AbsoluteComponents(windows_path);
  if (!components) return resolved;
  const std::size_t count = components->size();
  resolved.path = JoinComponents(*components, count);
  if (count == 0) {  // the root
    resolved.folder = resolved.path;
    resolved.exists = resolved.folder_exists = stat(resolved.path.c_str(), &resolved.status) == 0;
    return resolved;
  }
  resolved.name = components->back();
  if (stat(resolved.path.c_str(), &resolved.status) == 0) {
    resolved.folder = JoinComponents(*components, count - 1);
    resolved.exists = resolved.folder_exists = true;
    return resolved;
  }
  resolved.unknown = !SaysAbsent(errno);
  std::optional<Entry> folder = FindExisting(*components, count - 1, resolved.unknown);
  if (!folder || !S_ISDIR(folder->status.st_mode)) return resolved;
  resolved.folder_exists = true;
  resolved.folder = folder->path;
  if (std::optional<Entry> entry = FindInFolder(*folder, resolved.name, resolved.unknown)) {
    resolved.path = std::move(entry->path);
    resolved.status = entry->status;
    resolved.name = resolved.path.substr(resolved.path.rfind('/') + 1);
    resolved.exists = true;
    resolved.unknown = false;
  } else {
    resolved.path = ChildPath(resolved.folder, resolved.name);
  }
  return resolved;
}

}  // namespace tolvashu
