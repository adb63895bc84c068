// Windows paths held as text: what separates their names and where the last
// name starts. Shared by the file semantics above the seam and the backends
// below it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvashu {

// Both '\' and '/' separate the components of a path, as on Windows.
inline constexpr std::string_view kPathSeparators = "\\/";
inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// Where the last component of a Windows path starts: after the last '\' or
// '/', or after the "X:" of a drive-relative path. 0 when there is no folder.
std::size_t NameStart(std::string_view path);

// The folder part of a path as written, with its separator: "" when there is
// none («a.dat»), «D:\G\» for «D:\G\a.dat».
std::string FolderPart(std::string_view path);

// `folder` with a separator at its end: `\` is added unless it ends with one
// already or is empty (the current directory).
std::string WithSeparator(std::string folder);

// `folder` without the separators at its end, but for a root («\», «D:\»).
std::string WithoutSeparator(std::string folder);

// The folder that holds `folder`, which ends with its separator, as
// FolderPart writes it: «a\» for «a\b\», "" for «a\».
std::string ParentFolder(std::string folder);

}  // namespace tolvashu
