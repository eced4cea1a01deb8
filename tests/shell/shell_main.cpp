#include "TestSupport.h"
#include "shell/Application.h"

#include <gtest/gtest.h>

// The shell's tests run inside the program's own application object, so that
// its top-level error report is the one under test. A dialog no test scripted
// fails the test that ran into it instead of waiting for a click.
int main(int argc, char **argv)
{
    tg::TaskgateApplication app(argc, argv);
    tg::test::failUnscriptedDialogs();
    tg::test::installProgramSeams();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
