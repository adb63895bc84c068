// The main window form1: four buttons in one column. They are created in the
// order RestoreBT, DefoBT, InstallBT, BackupBT, and Tab visits them as
// BackupBT, InstallBT, DefoBT, RestoreBT (DefoBT before RestoreBT, although
// RestoreBT stands above it).
#pragma once

#include "app/app_texts.h"
#include "winui/window_table.h"

namespace tolvashu {

inline constexpr ControlRow kForm1Controls[] = {
    {"RestoreBT", ControlKind::kButton, texts::kRestoreBT, {120, 1680, 5895, 495}, 3},
    {"DefoBT", ControlKind::kButton, texts::kDefoBT, {120, 2280, 5895, 495}, 2},
    {"InstallBT", ControlKind::kButton, texts::kInstallBT, {120, 720, 5895, 855}, 1},
    {"BackupBT", ControlKind::kButton, texts::kBackupBT, {120, 120, 5895, 495}, 0},
};

inline constexpr WindowTable kForm1 = MakeWindowTable("form1", texts::kForm1Caption, Frame::kFixedSingle, 6090,
                                                    2880, StartPosition::kCenterScreen, kForm1Controls,
                                                    "BackupBT");

}  // namespace tolvashu
