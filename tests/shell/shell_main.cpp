#include "shell/Application.h"

#include <gtest/gtest.h>

// The shell's tests run inside the program's own application object, so that
// its top-level error report is the one under test.
int main(int argc, char **argv)
{
    tg::TaskgateApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
