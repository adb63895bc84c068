// The numbered series of the data set, each copied from its first number
// upward until the first number the source does not have: the scenario files
// «kosei00.dat»..«kosei99.dat» and the chronology texts «年表1.txt»..«年表9.txt».
// A series is expected to have no gap; whatever follows a gap stays behind.
#pragma once

#include "transfer/folder_transfer.h"

namespace tolvashu {

void CopyKoseiSeries(FolderTransfer& transfer);
void CopyNenpyoSeries(FolderTransfer& transfer);

}  // namespace tolvashu
