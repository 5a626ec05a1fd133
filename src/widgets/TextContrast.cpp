#include "widgets/TextContrast.h"

#include <algorithm>
#include <cmath>

namespace widgets {

namespace {

double channel(double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& color) {
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
}

QColor mix(const QColor& from, const QColor& to, double t) {
    return QColor::fromRgbF(static_cast<float>(from.redF() + (to.redF() - from.redF()) * t),
                            static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * t),
                            static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * t));
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor blackOrWhiteOn(const QColor& background) {
    const QColor white(Qt::white), black(Qt::black);
    return contrastRatio(white, background) > contrastRatio(black, background) ? white : black;
}

QColor readableOn(const QColor& background, const QColor& preferred, double minimum) {
    if (contrastRatio(preferred, background) >= minimum)
        return preferred;
    const QColor target = blackOrWhiteOn(background);
    // Plain (grey) text becomes black or white; a colour keeps its hue as far as it can, mixed
    // until it stands out well (the contrast asked of body text).
    if (preferred.hsvSaturation() <= 0)
        return target;
    constexpr double wellReadable = 4.5;
    for (int step = 1; step < 10; ++step) {
        const QColor candidate = mix(preferred, target, step / 10.0);
        if (contrastRatio(candidate, background) >= std::max(minimum, wellReadable))
            return candidate;
    }
    return target;
}

} // namespace widgets
