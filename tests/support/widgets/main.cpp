#include "gui/widgets/Fonts.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <gmock/gmock.h>

using namespace torvex;

// Widgets need a QApplication; it runs offscreen (the widgets never need a
// display, not even while the tests are listed).
int main(int argc, char** argv) {
    ApplyTestEnvironment();
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
