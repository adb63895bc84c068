// Copies the bytes of one open file into another.
#pragma once

#include <sys/types.h>

namespace tolvashu {

// Copies from the current offset of `from` to its end into `to`, in the
// kernel where it can (no trip through our memory; a copy within one file
// system may share blocks), by reading and writing otherwise. `size` is what
// fstat said the source holds. Returns 0, or the errno value of the failure.
int CopyContent(int from, int to, off_t size);

}  // namespace tolvashu
