#include "TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs inside a QApplication (offscreen under CTest) so
// that widget tests drive real widgets. A dialog no test scripted fails the
// test that ran into it instead of waiting for a click.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tg::test::failUnscriptedDialogs();
    tg::test::installProgramSeams();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
