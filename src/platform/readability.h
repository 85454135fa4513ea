#pragma once

#include <QColor>
#include <QPalette>

/// Text colours that stay legible where the program paints a ground of its
/// own (the palette's white groups, the about box) whatever the desktop's
/// theme: a dark theme's light text on such a ground would vanish.
namespace readability {

/// The lowest contrast at which the program lets a text stand on a ground.
constexpr double kMinimumContrast = 4.5;

/// Contrast of two colours as the accessibility guidelines measure it,
/// from 1 (equal) to 21 (black on white), alpha ignored.
double contrastRatio(const QColor &a, const QColor &b);

/// `preferred` where it reaches the minimum contrast on `ground`, else black
/// or white, whichever stands out more.
QColor readableText(const QColor &ground, const QColor &preferred);

/// `themed` with the ground `ground` painted behind a widget (the window
/// role) and the text roles of enabled widgets taking a colour that reads on
/// it. The theme's own text colours stay where they read.
QPalette onFixedGround(const QPalette &themed, const QColor &ground);

} // namespace readability
