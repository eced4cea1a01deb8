#include "widgets/ScreenScale.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace tg {
namespace {

// Rounds halfway values to the even integer, whatever the current mode.
long roundHalfEven(double value)
{
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long result = std::lrint(value);
    std::fesetround(previous);
    return result;
}

} // namespace

ScreenScale ScreenScale::forScreen(QSize screen)
{
    ScreenScale scale;
    scale.factor = std::min(static_cast<double>(screen.width()) / DesignedWidth,
                            static_cast<double>(screen.height()) / DesignedHeight);
    if (!(scale.factor > 0.0))
        scale.factor = 1.0; // no usable screen size: keep the designed size
    scale.percent = static_cast<int>(roundHalfEven(scale.factor * 100.0));
    scale.entryPointSize = 4 * static_cast<int>(roundHalfEven(scale.factor)) + 8;
    return scale;
}

int ScreenScale::scaled(int length) const
{
    return static_cast<int>(std::lround(static_cast<double>(length) * percent / 100.0));
}

} // namespace tg
