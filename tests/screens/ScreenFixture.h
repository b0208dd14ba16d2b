#pragma once

#include "gui/widgets/NumericLineEdit.h"
#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "instrument/TorvexCntl.h"
#include "results/StepListView.h"
#include "run/RunEngine.h"
#include "gui/screens/ScreenContext.h"
#include "gui/screens/SpinButtons.h"
#include "support/RecordingRunView.h"
#include "support/ScriptedDialog.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

// What a screen works on, without an instrument: the engine only keeps its
// flags and read-outs here.
struct ScreenFixture : ::testing::Test {
    ScreenFixture() : cntl(false), engine(cntl, doc, property, dialog, view) {
        doc.SetMachine(MODEL_K1, 0);
        doc.SetDialog(&dialog);
        doc.NewDocument();
    }
    SCREEN_CONTEXT Context(uint32_t ulModel = MODEL_K1) {
        SCREEN_CONTEXT c;
        c.m_pDoc = &doc;
        c.m_pEngine = &engine;
        c.m_pProperty = &property;
        c.m_pList = &list;
        c.m_pDialog = &dialog;
        c.m_ulMachineType = ulModel;
        c.m_fnScreensEnabled = [this] { return bScreensEnabled; };
        return c;
    }
    // Shows a screen in an active window, so that focus moves as it does for
    // the operator.
    static void Show(QWidget& w) {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    // Types into a box and leaves it with Tab.
    static void Type(QLineEdit* pBox, const QString& strText) {
        pBox->setFocus(Qt::MouseFocusReason);
        pBox->selectAll();
        QTest::keyClicks(pBox, strText);
        QTest::keyClick(pBox, Qt::Key_Tab);
    }
    static void Spin(CSpinButtons* pSpin, bool bUp, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(pSpin, Qt::LeftButton, mods,
                          QPoint(pSpin->width() / 2, bUp ? 2 : pSpin->height() - 2));
    }
    static void Click(QWidget* p) { QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(8, p->height() / 2)); }

    CTorvexCntl cntl;
    CTorvexDoc doc;
    CTestProperty property;
    CScriptedDialog dialog;
    CRecordingRunView view;
    CRecordingList list;
    CRunEngine engine;
    bool bScreensEnabled = true;
};
