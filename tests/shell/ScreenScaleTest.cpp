#include "widgets/ScreenScale.h"

#include <gtest/gtest.h>

using tg::ScreenScale;

namespace {

struct ScaleCase {
    QSize screen;
    double factor;
    int percent;
    int entryPointSize;
};

class ScreenScaleTable : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScreenScaleTable, FactorPercentAndEntryFont)
{
    const ScaleCase expected = GetParam();
    const ScreenScale scale = ScreenScale::forScreen(expected.screen);
    EXPECT_DOUBLE_EQ(scale.factor, expected.factor);
    EXPECT_EQ(scale.percent, expected.percent);
    EXPECT_EQ(scale.entryPointSize, expected.entryPointSize);
}

// 2.5 rounds to 2 and 3.5 to 4: halfway values go to the even integer.
INSTANTIATE_TEST_SUITE_P(Screens, ScreenScaleTable,
                         ::testing::Values(ScaleCase{QSize(800, 600), 2.0, 200, 16},
                                           ScaleCase{QSize(1024, 768), 2.56, 256, 20},
                                           ScaleCase{QSize(1920, 1080), 3.6, 360, 24},
                                           ScaleCase{QSize(1280, 720), 2.4, 240, 16},
                                           ScaleCase{QSize(575, 750), 2.5, 250, 16},
                                           ScaleCase{QSize(2000, 750), 2.5, 250, 16},
                                           ScaleCase{QSize(805, 1200), 3.5, 350, 24},
                                           ScaleCase{QSize(230, 300), 1.0, 100, 12}));

TEST(ScreenScale, LengthsGrowByThePercentage)
{
    const ScreenScale scale = ScreenScale::forScreen(QSize(1024, 768));
    EXPECT_EQ(scale.scaled(230), 589); // 588.8
    EXPECT_EQ(scale.scaled(300), 768);
    EXPECT_EQ(scale.scaled(0), 0);
}

TEST(ScreenScale, UnusableScreenKeepsTheDesignedSize)
{
    const ScreenScale scale = ScreenScale::forScreen(QSize(0, 0));
    EXPECT_EQ(scale.percent, 100);
}

} // namespace
