#include "app/Fonts.h"

#include <QApplication>
#include <gmock/gmock.h>

// Widgets need a QApplication; it runs offscreen under ctest.
int main(int argc, char** argv) {
    // Listing the tests happens outside ctest's environment, often without a
    // display: the widgets never need one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
