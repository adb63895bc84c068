#include "transfer/series_sweeps.h"

#include <string>

#include "transfer/data_set_catalogue.h"
#include "transfer/error_policy.h"

namespace tolvashu {

namespace {

// The first copy that fails, for whatever reason, ends the series. A real
// failure among them has already been collected by the transfer.
constexpr ErrorPolicy kPolicy = ErrorPolicy::kStopAtFirstFailure;

template <typename NameOf>
void CopySeries(FolderTransfer& transfer, int first, int last, NameOf name_of) {
  static_assert(kPolicy == ErrorPolicy::kStopAtFirstFailure);
  for (int number = first; number <= last; ++number) {
    if (!transfer.Copy(name_of(number))) {
      transfer.files().CloseAll();
      return;
    }
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
