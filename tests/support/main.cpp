#include "TestEnvironment.h"

#include <QCoreApplication>
#include <gmock/gmock.h>

using namespace torvex;

// Serial ports, timers and settings need an application object; it is made
// before any test runs.
int main(int argc, char** argv) {
    ApplyTestEnvironment();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
