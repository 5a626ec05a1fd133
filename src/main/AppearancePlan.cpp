#include "main/AppearancePlan.h"

#include "widgets/ColorTable.h"

namespace mainwin {

namespace {

ButtonScheme uniformScheme(std::uint32_t color) {
    ButtonScheme scheme;
    scheme.fill(ButtonColors{color, color, color});
    return scheme;
}

} // namespace

const ButtonScheme& colorButtonScheme() {
    static const ButtonScheme scheme = [] {
        const ButtonColors add{0x00808000u, 0x00CAF38Bu, 0x00C0DCC0u};
        const ButtonColors edit{0x004154A0u, 0x0080FFFFu, 0x00C0FFFFu};
        const ButtonColors remove{0x000000B5u, 0x000000FFu, 0x008080FFu};
        const ButtonColors command{0x00FFAC00u, 0x00FFFF00u, 0x00E0E0A0u};
        return ButtonScheme{add, edit, remove, add, edit, remove, command, command, command};
    }();
    return scheme;
}

AppearancePlan planAppearance(const AppearanceChoice& choice) {
    AppearancePlan plan;
    plan.trayVisible = choice.sysTray;
    plan.trayAnimated = choice.animate;

    if (choice.standardBars)
        plan.bars = BarFill{false, widgets::kColorAppWorkspace, widgets::kColorAppWorkspace};
    else if (choice.simpleBars)
        plan.bars = BarFill{false, choice.simpleColor, choice.simpleColor};
    else if (choice.gradientBars)
        plan.bars = BarFill{true, choice.fromColor, choice.toColor};

    if (choice.standardButtons)
        plan.buttons = uniformScheme(widgets::kColorBtnFace);
    else if (choice.simpleButtons)
        plan.buttons = uniformScheme(choice.buttonColor);
    else if (choice.colorButtons)
        plan.buttons = colorButtonScheme();

    if (choice.standardForm)
        plan.background = widgets::kColorBtnFace;
    else if (choice.defaultForm)
        plan.background = choice.defaultFormColor;
    else if (choice.colorForm)
        plan.background = choice.colorFormColor;
    return plan;
}

} // namespace mainwin
