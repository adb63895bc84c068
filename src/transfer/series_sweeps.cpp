#include "transfer/series_sweeps.h"

#include <string>

#include "files/error_policy.h"
#include "transfer/data_set_catalogue.h"

namespace tolvashu {

namespace {

// A series ends at its first missing number. A copy that fails for another
// reason (a read-only or locked destination) is collected by the transfer
// and the series goes on: the transfer has already cleared the chronology
// family, so stopping there would leave the numbers after it deleted.
constexpr ErrorPolicy kPolicy = ErrorPolicy::kSkipAndContinue;

template <typename NameOf>
void CopySeries(FolderTransfer& transfer, int first, int last, NameOf name_of) {
  static_assert(kPolicy == ErrorPolicy::kSkipAndContinue);
  for (int number = first; number <= last; ++number) {
    if (transfer.Copy(name_of(number)) == CopyOutcome::kSourceMissing) return;
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
