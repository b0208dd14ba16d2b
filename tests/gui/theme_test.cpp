// Colours and focus that read in any desktop theme and for keyboard users.
#include "gui/run/ExecDlg.h"
#include "gui/widgets/ReportList.h"
#include "gui/widgets/ThemeColours.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace torvex {

namespace {

QPalette DarkPalette() {
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(45, 45, 48));
    pal.setColor(QPalette::WindowText, QColor(230, 230, 230));
    pal.setColor(QPalette::Base, QColor(30, 30, 32));
    pal.setColor(QPalette::Text, QColor(230, 230, 230));
    pal.setColor(QPalette::Button, QColor(55, 55, 58));
    pal.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    return pal;
}

} // namespace

TEST(ThemeColours, SelectedRowsAndWarningsReadOnLightAndDarkThemes) {
    const QPalette light = QApplication::palette();
    ASSERT_FALSE(IsDarkPalette(light));
    struct Case {
        const char* name;
        QPalette pal;
    } cases[] = {{"light", light}, {"dark", DarkPalette()}};
    for (const Case& c : cases) {
        QTableView table;
        table.setPalette(c.pal);
        SetUpReportList(&table);
        const QPalette set = table.palette();
        EXPECT_GE(ContrastRatio(set.color(QPalette::Active, QPalette::Highlight),
                                set.color(QPalette::Active, QPalette::HighlightedText)),
                  4.5)
            << c.name;
        EXPECT_GE(ContrastRatio(WarningTextColour(c.pal), c.pal.color(QPalette::Window)), 4.5) << c.name;
    }
    // The light theme keeps the program's own selection colour.
    QTableView table;
    SetUpReportList(&table);
    EXPECT_EQ(table.palette().color(QPalette::Highlight), QColor(200, 200, 255));
}

// A control that takes the keyboard focus shows it: its picture changes.
TEST(ThemeFocus, TheRunPanelsControlsShowTheKeyboardFocus) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* panel = new CExecDlg(&window);
    layout->addWidget(other);
    layout->addWidget(panel);
    window.resize(900, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    panel->SetStartEnabled(true);
    panel->SetStopEnabled(true);
    for (QWidget* control : {static_cast<QWidget*>(panel->StartButton()),
                             static_cast<QWidget*>(panel->StopButton()),
                             static_cast<QWidget*>(panel->LineSwitch())}) {
        other->setFocus();
        QApplication::processEvents();
        const QImage unfocused = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(control->hasFocus()) << control->accessibleName().toStdString();
        EXPECT_TRUE(control->grab().toImage() != unfocused) << control->accessibleName().toStdString();
    }
}

} // namespace torvex
