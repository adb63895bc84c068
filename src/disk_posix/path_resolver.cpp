#include "disk_posix/path_resolver.h"

#include <unistd.h>

#include <cerrno>

#include "disk/path_parts.h"
#include "disk_posix/system_error.h"

namespace tolvashu {

namespace {

// Appends the names of `path` to the on-disk path `on_disk` ("" for the
// root), applying `.` and `..` to the text.
void AppendNames(std::string_view path, std::string& on_disk) {
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t end = at;
    while (end < path.size() && !IsPathSeparator(path[end])) ++end;
    std::string_view name = path.substr(at, end - at);
    if (name == "..") {
      on_disk.resize(on_disk.empty() ? 0 : on_disk.rfind('/'));  // the root's parent is the root
    } else if (!name.empty() && name != ".") {
      on_disk += '/';
      on_disk += name;
    }
    at = end + 1;
  }
}

// The folder that holds the last name of an on-disk path, and that name.
std::string ParentOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}
std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

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
std::optional<PathResolver::Entry> PathResolver::FindExisting(const std::string& path, bool& unknown) {
  Entry entry{path, {}};
  if (stat(entry.path.c_str(), &entry.status) == 0) return entry;
  if (!SaysAbsent(errno)) {
    unknown = true;
    return std::nullopt;
  }
  if (path == "/") return std::nullopt;
  std::optional<Entry> folder = FindExisting(ParentOf(path), unknown);
  if (!folder) return std::nullopt;
  return FindInFolder(*folder, NameOf(path), unknown);
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

std::string PathResolver::AsWritten(std::string_view windows_path) {
  std::string on_disk;
  if (windows_path.empty()) return on_disk;
  if (!IsPathSeparator(windows_path.front())) {
    std::optional<std::string> working = WorkingFolder();
    if (!working) return on_disk;
    AppendNames(*working, on_disk);
  }
  AppendNames(windows_path, on_disk);
  if (on_disk.empty()) on_disk = "/";
  return on_disk;
}

// A name that its folder's listing lacks is most likely new. The folder and
// its listing prove that in two calls, where looking the name up as written
// first would take three. False, having changed nothing, when the folder or
// its listing tells otherwise: the usual lookup decides then.
bool PathResolver::FoundNewInListing(const std::string& folder, ResolvedPath& resolved) {
  struct stat status;
  if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
  FolderNames::Lookup lookup = names_.FindVariant(folder, status, resolved.name);
  if (!lookup.listed || lookup.name) return false;
  resolved.folder = folder;
  resolved.folder_exists = true;
  return true;
}

ResolvedPath PathResolver::Resolve(std::string_view windows_path) {
  ResolvedPath resolved;
  resolved.path = AsWritten(windows_path);
  if (resolved.path.empty()) return resolved;
  if (resolved.path == "/") {
    resolved.folder = resolved.path;
    resolved.exists = resolved.folder_exists = stat(resolved.path.c_str(), &resolved.status) == 0;
    return resolved;
  }
  resolved.name = NameOf(resolved.path);
  std::string folder_path = ParentOf(resolved.path);
  if (names_.ProbablyLacks(folder_path, resolved.name) && FoundNewInListing(folder_path, resolved)) return resolved;
  if (stat(resolved.path.c_str(), &resolved.status) == 0) {
    resolved.folder = std::move(folder_path);
    resolved.exists = resolved.folder_exists = true;
    return resolved;
  }
  resolved.unknown = !SaysAbsent(errno);
  std::optional<Entry> folder = FindExisting(folder_path, resolved.unknown);
  if (!folder || !S_ISDIR(folder->status.st_mode)) return resolved;
  resolved.folder_exists = true;
  resolved.folder = folder->path;
  if (std::optional<Entry> entry = FindInFolder(*folder, resolved.name, resolved.unknown)) {
    resolved.path = std::move(entry->path);
    resolved.status = entry->status;
    resolved.name = NameOf(resolved.path);
    resolved.exists = true;
    resolved.unknown = false;
  } else {
    resolved.path = ChildPath(resolved.folder, resolved.name);
  }
  return resolved;
}

}  // namespace tolvashu
