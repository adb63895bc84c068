// What a failing step does under the error policy a procedure has declared.
// The procedure names its policy once (`constexpr ErrorPolicy kPolicy`) and
// handles every failing file operation through one of these, so the policy is
// checked by the compiler instead of inferred by the reader.
#pragma once

#include <cstdint>

#include "files/error_policy.h"
#include "files/file_ops.h"

namespace tolvashu {

// Policy 2: the first failure ends the procedure. Every open file is closed;
// the procedure returns this failure value (-1) to its caller.
template <ErrorPolicy kPolicy>
std::int16_t StopAtFailure(FileOps& files) {
  static_assert(kPolicy == ErrorPolicy::kStopAtFirstFailure, "only policy 2 ends a procedure at a failure");
  files.CloseAll();
  return -1;
}

// Policy 1: a failing step is passed over and the procedure goes on with the
// next one; the step's outcome is deliberately dropped.
template <ErrorPolicy kPolicy>
void SkipOnFailure(bool /*step_succeeded*/) {
  static_assert(kPolicy == ErrorPolicy::kSkipAndContinue, "only policy 1 passes over a failure");
}

}  // namespace tolvashu
