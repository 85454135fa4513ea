#include "readability.h"

#include <algorithm>
#include <cmath>

namespace readability {

namespace {
// The relative luminance of a colour in linear light, 0 to 1.
double luminance(const QColor &colour)
{
    auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}
} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableText(const QColor &ground, const QColor &preferred)
{
    if (contrastRatio(ground, preferred) >= kMinimumContrast)
        return preferred;
    const QColor black(Qt::black), white(Qt::white);
    return contrastRatio(ground, black) >= contrastRatio(ground, white) ? black : white;
}

QPalette onFixedGround(const QPalette &themed, const QColor &ground)
{
    QPalette result = themed;
    // Disabled text keeps the theme's dimmed colour: it is meant to stand out less.
    result.setColor(QPalette::Disabled, QPalette::Window, ground);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        result.setColor(group, QPalette::Window, ground);
        for (QPalette::ColorRole text : {QPalette::WindowText, QPalette::Text})
            result.setColor(group, text, readableText(ground, themed.color(group, text)));
    }
    return result;
}

} // namespace readability
