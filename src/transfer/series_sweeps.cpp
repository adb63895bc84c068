#include "transfer/series_sweeps.h"

#include <string>

#include "files/error_policy.h"
#include "transfer/data_set_catalogue.h"

namespace tolvashu {

namespace {

// A series ends at its first missing number. A copy that fails for another
// reason (a read-only or locked destination) stops the whole transfer,
// which is then undone: the series ends there too.
constexpr ErrorPolicy kPolicy = ErrorPolicy::kStopAtFirstFailure;

template <typename NameOf>
void CopySeries(FolderTransfer& transfer, int first, int last, NameOf name_of) {
  static_assert(kPolicy == ErrorPolicy::kStopAtFirstFailure);
  for (int number = first; number <= last; ++number) {
    CopyOutcome outcome = transfer.Copy(name_of(number));
    if (outcome == CopyOutcome::kSourceMissing || transfer.Stopped()) return;
  }
}

}  // namespace

void CopyKoseiSeries(FolderTransfer& transfer) {
  CopySeries(transfer, catalogue::kKoseiSeriesFirst, catalogue::kKoseiSeriesLast, catalogue::KoseiFileName);
}

void CopyNenpyoSeries(FolderTransfer& transfer) {
  CopySeries(transfer, catalogue::kNenpyoSeriesFirst, catalogue::kNenpyoSeriesLast, catalogue::NenpyoFileName);
}

}  // namespace tolvashu
