#pragma once

#include <QSize>

namespace tg {

// How the small window (designed for 230 by 300 pixels) is scaled to a
// screen: the factor, the scaling percentage M (positions, sizes and fonts
// grow by M/100) and the font size of the navigation bar's entries. Both
// roundings take a value halfway between two integers to the even one.
struct ScreenScale {
    double factor = 1.0;
    int percent = 100;
    int entryPointSize = 12;

    static constexpr int DesignedWidth = 230;
    static constexpr int DesignedHeight = 300;

    static ScreenScale forScreen(QSize screen);
    // A length grown by M/100, rounded to the nearest pixel.
    int scaled(int length) const;
};

} // namespace tg
