#pragma once
#include <QIcon>

namespace explorer {

// The twelve 16 x 16 toolbar pictures of the explorer window: 0 to 3 the view styles (large
// icons, small icons, list, table), 4 to 8 the start regimes, 9 "up", 10 shared mode, 11
// exclusive mode. Any other index gives a null icon.
QIcon explorerImage(int index);

inline constexpr int ViewImageBase = 0;
inline constexpr int RegimeImageBase = 4;
inline constexpr int UpImage = 9;
inline constexpr int SharedImage = 10;
inline constexpr int ExclusiveImage = 11;

} // namespace explorer
