#include "tests/support/JackRun.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Tests never open a real display; the Qt views draw offscreen.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    CountInJackRun();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
