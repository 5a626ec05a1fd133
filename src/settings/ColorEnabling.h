#pragma once
#include <string_view>
#include <vector>

namespace settings {

// The enabled state one colour control is to be given.
struct ColorEnabling {
    std::string_view control;
    bool enabled;
};

// The colour rule of the "Оформление" page. Each argument is the ticked radio of its group
// (0, 1, 2 in the page's order) or -1 when none is ticked:
//   form:   rbnStandardForm, rbnDefaultForm, rbnColorForm
//   bars:   rbnStandard, rbnSimple, rbnGradient
//   button: rbnStandardButton, rbnColorButton, rbnSimpleButton
// A form or bar group with none ticked yields nothing for its controls (they stay as they are);
// cbnButtonColor is enabled only with rbnSimpleButton, and disabled also when none is ticked.
std::vector<ColorEnabling> colorEnabling(int form, int bars, int button);

} // namespace settings
