// Renames that never replace what is at the new name: used wherever the
// name is expected to be free because its old file was moved away first, so
// that a file that appeared there meanwhile is never lost.
#pragma once

namespace tolvashu {

// renameat() that fails with EEXIST when `to` exists. On a file system that
// cannot say so atomically (some user-space and network ones) it looks
// first and renames then. Returns 0 or the errno value of the failure.
int RenameWithoutReplacing(int from_folder, const char* from, int to_folder, const char* to);

}  // namespace tolvashu
