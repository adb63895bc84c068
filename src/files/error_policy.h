// The two error policies of the installer. Every procedure that touches files
// names the one it runs under with a `constexpr ErrorPolicy kPolicy` and
// handles each failing operation accordingly.
#pragma once

namespace tolvashu {

enum class ErrorPolicy {
  // A failing operation abandons only the step that used it; the variable
  // that step would have set keeps its value, and the procedure goes on with
  // the next step. A failing enumeration counts as "no more entries".
  kSkipAndContinue,
  // The first failing operation ends the procedure: every open file is
  // closed and the procedure returns normally, passing no error on.
  kStopAtFirstFailure,
};

}  // namespace tolvashu
