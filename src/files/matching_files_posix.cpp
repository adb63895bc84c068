#include "files/matching_files_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "files/case_fold.h"
#include "files/pattern_parts.h"
#include "files/unique_fd_posix.h"
#include "files/wildcard.h"
#include "text/code_points.h"

namespace tolvashu {

namespace {

// The listing's type says enough for most entries; links, and file systems
// that give no type, need a stat.
bool IsOrdinaryFile(int folder_fd, const dirent& entry) {
  if (entry.d_type == DT_REG) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat status;
  return fstatat(folder_fd, entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

constexpr char kCannotList[] = "cannot be listed";

void NoteUnreadable(MatchingFiles& matches, std::string reason) {
  matches.unreadable = FileFailure{matches.named_folder, FailureCause::kUnreadable, std::move(reason)};
}

void NoteUnreadable(MatchingFiles& matches, int error) {
  NoteUnreadable(matches, std::generic_category().message(error));
}

void ListMatches(std::string_view name_pattern, MatchingFiles& matches) {
  UniqueFd fd(open(matches.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.valid()) {
    if (errno != ENOENT && errno != ENOTDIR) NoteUnreadable(matches, errno);  // else removed meanwhile
    return;
  }
  DIR* dir = fdopendir(fd.get());
  if (dir == nullptr) return NoteUnreadable(matches, errno);
  fd.Release();  // now owned by `dir`
  const std::u32string folded_pattern = FoldCodePoints(name_pattern);
  for (;;) {
    errno = 0;  // readdir reports a failure only through errno
    const dirent* entry = readdir(dir);
    if (entry == nullptr) {
      if (errno != 0) NoteUnreadable(matches, errno);
      break;
    }
    if (IsHiddenName(entry->d_name)) continue;  // before folding: most skipped entries cost nothing
    if (!MatchesWildcard(folded_pattern, FoldCodePoints(entry->d_name))) continue;
    if (IsOrdinaryFile(dirfd(dir), *entry)) matches.names.emplace_back(entry->d_name);
  }
  closedir(dir);
}

// The names of a followed folder's listing are matched by their folded
// form, which the listing keeps: nothing is folded again.
std::optional<std::vector<std::string>> KnownMatches(PathResolver& resolver, const ResolvedPath& folder,
                                                    std::string_view name_pattern) {
  const std::u32string folded_pattern = FoldCodePoints(name_pattern);
  return resolver.names().FollowedNames(folder.path, folder.status, [&](std::string_view folded) {
    return !IsHiddenName(folded) && MatchesWildcard(folded_pattern, DecodeUtf8(folded));
  });
}

// A plain name is resolved like any path: no need to read the folder.
void FindNamedFile(PathResolver& resolver, std::string_view pattern, MatchingFiles& matches) {
  ResolvedPath file = resolver.Resolve(pattern);
  if (file.unknown) return NoteUnreadable(matches, kCannotList);
  if (!file.folder_exists) return;
  matches.folder = file.folder;
  if (file.exists && S_ISREG(file.status.st_mode) && !IsHiddenName(file.name)) matches.names.push_back(file.name);
}

}  // namespace

MatchingFiles FindMatchingFiles(PathResolver& resolver, std::string_view pattern, EmptyName empty_name,
                                NameSource source) {
  MatchingFiles matches;
  std::optional<PatternParts> parts = SplitPattern(pattern);
  if (!parts) {
    matches.malformed = true;
    return matches;
  }
  matches.named_folder = parts->folder;
  if (empty_name == EmptyName::kNoFile && parts->folder.size() == pattern.size()) return matches;
  if (!HasWildcard(parts->name)) {
    FindNamedFile(resolver, pattern, matches);
    return matches;
  }
  ResolvedPath folder = resolver.Resolve(parts->folder.empty() ? "." : parts->folder);
  if (folder.unknown) {
    NoteUnreadable(matches, kCannotList);
    return matches;
  }
  if (!folder.exists || !S_ISDIR(folder.status.st_mode)) return matches;
  matches.folder = folder.path;
  if (source == NameSource::kKnownNames) {
    if (std::optional<std::vector<std::string>> names = KnownMatches(resolver, folder, parts->name)) {
      matches.names = std::move(*names);
      return matches;
    }
  }
  ListMatches(parts->name, matches);
  return matches;
}

}  // namespace tolvashu
