// The folder choice dialog Form2: the instruction label, the one-line BT1 and
// the tall BT2 whose three-line caption is built at load. Controls are
// created BT2, BT1, Label1; Tab visits Label1, BT1, BT2.
#pragma once

#include "folderchoice/form2_texts.h"
#include "winui/window_table.h"

namespace tolvashu {

inline constexpr ControlRow kForm2Controls[] = {
    {"BT2", ControlKind::kMultiLineButton, "", {120, 840, 7935, 975}, 2},
    {"BT1", ControlKind::kButton, form2::kBT1, {120, 360, 7935, 375}, 1},
    {"Label1", ControlKind::kLabel, form2::kLabel1, {240, 120, 5655, 255}, 0},
};

inline constexpr WindowTable kForm2 = MakeWindowTable("Form2", form2::kCaption, Frame::kFixedSingle, 8190, 1965,
                                                    StartPosition::kCenterScreen, kForm2Controls, "BT1");

}  // namespace tolvashu
