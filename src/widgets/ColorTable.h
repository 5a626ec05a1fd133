#pragma once
#include <cstdint>
#include <span>
#include <string_view>

// Colour values as the settings file stores them: 0x00BBGGRR for an RGB colour, 0x80000000 plus
// an index for a system colour (the Windows COLOR_* numbering). This part holds the numbers only;
// resolving a system colour against the desktop palette is in ColorValue.h.
namespace widgets {

inline constexpr std::uint32_t kSystemColorFlag = 0x80000000u;
inline constexpr std::uint32_t kColorAppWorkspace = 0x8000000Cu;
inline constexpr std::uint32_t kColorBtnFace = 0x8000000Fu;
inline constexpr std::uint32_t kColorBlack = 0x00000000u;
inline constexpr std::uint32_t kColorGray = 0x00808080u;

constexpr std::uint32_t rgbColorValue(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return std::uint32_t{r} | (std::uint32_t{g} << 8) | (std::uint32_t{b} << 16);
}
constexpr std::uint8_t redOf(std::uint32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}
constexpr std::uint8_t greenOf(std::uint32_t value) {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
constexpr std::uint8_t blueOf(std::uint32_t value) {
    return static_cast<std::uint8_t>((value >> 16) & 0xFF);
}
constexpr bool isSystemColor(std::uint32_t value) {
    return (value & kSystemColorFlag) != 0;
}

// A colour with its name for the colour lists.
struct NamedColor {
    std::uint32_t value;
    std::string_view name;
};

// A system colour: its index, its name and the RGB value (0x00BBGGRR) used where the desktop
// palette has no matching role. Index 25 does not exist in the Windows numbering.
struct SystemColorInfo {
    int index;
    std::string_view name;
    std::uint32_t fallbackRgb;

    constexpr std::uint32_t value() const { return kSystemColorFlag + static_cast<std::uint32_t>(index); }
};

// The 16 standard colours, then the 4 extended ones (money green, sky blue, cream, medium grey).
std::span<const NamedColor> standardColors();
// The system colours 0..30 without 25, in index order.
std::span<const SystemColorInfo> systemColors();
// The system colour of a value; nullptr for an RGB value or an unknown index.
const SystemColorInfo* findSystemColor(std::uint32_t value);
// The name of a standard or system colour; empty for any other value.
std::string_view colorValueName(std::uint32_t value);
// RGB value (0x00BBGGRR) without a palette: an RGB value as it is (low 24 bits), a system colour
// by its fixed value, an unknown system index as black (what the system gives for it).
std::uint32_t fixedRgb(std::uint32_t value);

} // namespace widgets
