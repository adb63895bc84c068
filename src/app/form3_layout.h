// The progress notice Form3: a fixed tool window centred on the main window.
// Its caption says "このまま", its label "しばらく"; both are as the game's
// players know them. Below the label, a bar that fills by the bytes copied and the name of the file
// being copied show that the transfer goes on.
#pragma once

#include "app/app_texts.h"
#include "winui/window_table.h"

namespace tolvashu {

inline constexpr ControlRow kForm3Controls[] = {
    {"Label1", ControlKind::kLabel, texts::kForm3Label1, {240, 480, 2895, 375}, 0},
    {"ProgressBar1", ControlKind::kProgressBar, "", {240, 1200, 4200, 300}, 1},
    {"Label2", ControlKind::kFileNameLabel, "", {240, 1680, 4200, 375}, 2},
};

inline constexpr WindowTable kForm3 = MakeWindowTable("Form3", texts::kForm3Caption, Frame::kFixedToolWindow, 4680,
                                                    3090, StartPosition::kCenterOwner, kForm3Controls, nullptr);

}  // namespace tolvashu
