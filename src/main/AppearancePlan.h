#pragma once
#include <array>
#include <cstdint>
#include <optional>

// What the appearance step does to the main window, worked out from the choices of the
// settings window without touching a window. Colours are colour values (0x00BBGGRR, or
// 0x80000000 plus a system-colour index).
namespace mainwin {

// The choices as the settings window holds them at the moment of the step.
struct AppearanceChoice {
    bool sysTray = true;  // cbxSysTray
    bool animate = false; // cbxAnimate

    bool standardForm = true; // rbnStandardForm
    bool defaultForm = false; // rbnDefaultForm
    bool colorForm = false;   // rbnColorForm
    std::uint32_t defaultFormColor = 0;
    std::uint32_t colorFormColor = 0;

    bool standardBars = true;  // rbnStandard
    bool simpleBars = false;   // rbnSimple
    bool gradientBars = false; // rbnGradient
    std::uint32_t simpleColor = 0;
    std::uint32_t fromColor = 0;
    std::uint32_t toColor = 0;

    bool standardButtons = true; // rbnStandardButton
    bool colorButtons = false;   // rbnColorButton
    bool simpleButtons = false;  // rbnSimpleButton
    std::uint32_t buttonColor = 0;
};

struct BarFill {
    bool gradient = false;
    std::uint32_t from = 0; // the solid colour, or the gradient's start
    std::uint32_t to = 0;   // the gradient's end (equal to from for a solid fill)
    bool operator==(const BarFill&) const = default;
};

struct ButtonColors {
    std::uint32_t pressed = 0;
    std::uint32_t hover = 0;
    std::uint32_t normal = 0;
    bool operator==(const ButtonColors&) const = default;
};

// The nine shape buttons, in this order.
enum class MainButton {
    AddProgram,
    EditProgram,
    DeleteProgram,
    AddFolder,
    EditFolder,
    DeleteFolder,
    Start,
    Explorer,
    CloseApp,
};
inline constexpr int kMainButtonCount = 9;
using ButtonScheme = std::array<ButtonColors, kMainButtonCount>;

// The fixed colour scheme ("Цветовое"), which is also the window's design.
const ButtonScheme& colorButtonScheme();

// A step whose group has no radio ticked is empty: its target keeps its colours.
struct AppearancePlan {
    bool trayVisible = false;
    bool trayAnimated = false;
    std::optional<BarFill> bars;             // both bars, category first
    std::optional<ButtonScheme> buttons;     // all nine
    std::optional<std::uint32_t> background; // the window and its tool panel
};

AppearancePlan planAppearance(const AppearanceChoice& choice);

} // namespace mainwin
