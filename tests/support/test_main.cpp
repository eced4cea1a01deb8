#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs inside a QApplication (offscreen under CTest) so
// that widget tests drive real widgets.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
