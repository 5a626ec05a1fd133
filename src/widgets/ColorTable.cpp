#include "widgets/ColorTable.h"

#include <algorithm>
#include <array>

namespace widgets {
namespace {

constexpr std::array<NamedColor, 20> kStandardColors{{
    {rgbColorValue(0, 0, 0), "clBlack"},
    {rgbColorValue(128, 0, 0), "clMaroon"},
    {rgbColorValue(0, 128, 0), "clGreen"},
    {rgbColorValue(128, 128, 0), "clOlive"},
    {rgbColorValue(0, 0, 128), "clNavy"},
    {rgbColorValue(128, 0, 128), "clPurple"},
    {rgbColorValue(0, 128, 128), "clTeal"},
    {rgbColorValue(128, 128, 128), "clGray"},
    {rgbColorValue(192, 192, 192), "clSilver"},
    {rgbColorValue(255, 0, 0), "clRed"},
    {rgbColorValue(0, 255, 0), "clLime"},
    {rgbColorValue(255, 255, 0), "clYellow"},
    {rgbColorValue(0, 0, 255), "clBlue"},
    {rgbColorValue(255, 0, 255), "clFuchsia"},
    {rgbColorValue(0, 255, 255), "clAqua"},
    {rgbColorValue(255, 255, 255), "clWhite"},
    {0x00C0DCC0u, "clMoneyGreen"},
    {0x00F0CAA6u, "clSkyBlue"},
    {0x00F0FBFFu, "clCream"},
    {0x00A4A0A0u, "clMedGray"},
}};

// Fixed values are the usual defaults of a Windows desktop.
constexpr std::array<SystemColorInfo, 30> kSystemColors{{
    {0, "clScrollBar", rgbColorValue(200, 200, 200)},
    {1, "clBackground", rgbColorValue(0, 0, 0)},
    {2, "clActiveCaption", rgbColorValue(153, 180, 209)},
    {3, "clInactiveCaption", rgbColorValue(191, 205, 219)},
    {4, "clMenu", rgbColorValue(240, 240, 240)},
    {5, "clWindow", rgbColorValue(255, 255, 255)},
    {6, "clWindowFrame", rgbColorValue(100, 100, 100)},
    {7, "clMenuText", rgbColorValue(0, 0, 0)},
    {8, "clWindowText", rgbColorValue(0, 0, 0)},
    {9, "clCaptionText", rgbColorValue(0, 0, 0)},
    {10, "clActiveBorder", rgbColorValue(180, 180, 180)},
    {11, "clInactiveBorder", rgbColorValue(244, 247, 252)},
    {12, "clAppWorkSpace", rgbColorValue(171, 171, 171)},
    {13, "clHighlight", rgbColorValue(51, 153, 255)},
    {14, "clHighlightText", rgbColorValue(255, 255, 255)},
    {15, "clBtnFace", rgbColorValue(240, 240, 240)},
    {16, "clBtnShadow", rgbColorValue(160, 160, 160)},
    {17, "clGrayText", rgbColorValue(109, 109, 109)},
    {18, "clBtnText", rgbColorValue(0, 0, 0)},
    {19, "clInactiveCaptionText", rgbColorValue(67, 78, 84)},
    {20, "clBtnHighlight", rgbColorValue(255, 255, 255)},
    {21, "cl3DDkShadow", rgbColorValue(105, 105, 105)},
    {22, "cl3DLight", rgbColorValue(227, 227, 227)},
    {23, "clInfoText", rgbColorValue(0, 0, 0)},
    {24, "clInfoBk", rgbColorValue(255, 255, 225)},
    {26, "clHotLight", rgbColorValue(0, 102, 204)},
    {27, "clGradientActiveCaption", rgbColorValue(185, 209, 234)},
    {28, "clGradientInactiveCaption", rgbColorValue(215, 228, 242)},
    {29, "clMenuHighlight", rgbColorValue(51, 153, 255)},
    {30, "clMenuBar", rgbColorValue(240, 240, 240)},
}};

} // namespace

std::span<const NamedColor> standardColors() {
    return kStandardColors;
}

std::span<const SystemColorInfo> systemColors() {
    return kSystemColors;
}

const SystemColorInfo* findSystemColor(std::uint32_t value) {
    if (!isSystemColor(value))
        return nullptr;
    auto it = std::find_if(kSystemColors.begin(), kSystemColors.end(),
                           [value](const SystemColorInfo& info) { return info.value() == value; });
    return it == kSystemColors.end() ? nullptr : &*it;
}

std::string_view colorValueName(std::uint32_t value) {
    if (const SystemColorInfo* info = findSystemColor(value))
        return info->name;
    auto it = std::find_if(kStandardColors.begin(), kStandardColors.end(),
                           [value](const NamedColor& color) { return color.value == value; });
    return it == kStandardColors.end() ? std::string_view{} : it->name;
}

std::uint32_t fixedRgb(std::uint32_t value) {
    if (!isSystemColor(value))
        return value & 0x00FFFFFFu;
    const SystemColorInfo* info = findSystemColor(value);
    return info ? info->fallbackRgb : kColorBlack;
}

} // namespace widgets
