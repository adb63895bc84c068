// The progress notice Form3: a fixed tool window with one label. Its caption
// says "このまま", its label "しばらく"; both are as the game's players know them.
#pragma once

#include "app/app_texts.h"
#include "winui/window_table.h"

namespace tolvashu {

inline constexpr ControlRow kForm3Controls[] = {
    {"Label1", ControlKind::kLabel, texts::kForm3Label1, {240, 480, 2895, 375}, 0},
};

// Shown without an owner, so the platform places it.
inline constexpr WindowTable kForm3 = MakeWindowTable("Form3", texts::kForm3Caption, Frame::kFixedToolWindow, 4680,
                                                    3090, StartPosition::kPlatform, kForm3Controls, nullptr);

}  // namespace tolvashu
