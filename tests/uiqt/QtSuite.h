// One Qt back end for a whole test suite on the offscreen platform.
#pragma once

#include "ui/qt/QtBackend.h"

#include <gtest/gtest.h>

class QtSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char arg0[] = "uiqt_tests";
        static char* argv[] = {arg0, nullptr};
        Backend = new QtBackend(argc, argv);
    }
    static void TearDownTestSuite()
    {
        delete Backend;
        Backend = nullptr;
    }
    static inline QtBackend* Backend = nullptr;
};
