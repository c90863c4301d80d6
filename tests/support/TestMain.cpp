#include "TApplication.h"

#include <gtest/gtest.h>

// Every test executable runs with one widget application (offscreen under CTest).
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
