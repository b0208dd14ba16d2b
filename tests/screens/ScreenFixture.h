#pragma once

#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "gui/screens/SpinButtons.h"
#include "gui/widgets/NumericLineEdit.h"
#include "instrument/TorvexCntl.h"
#include "results/StepListView.h"
#include "run/RunEngine.h"
#include "session/Session.h"
#include "support/EngineProbe.h"
#include "support/RecordingRunView.h"
#include "support/ScriptedDialog.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace torvex {

// What a screen works on, without an instrument: the engine only keeps its
// flags and read-outs here.
struct ScreenFixture : ::testing::Test {
    ScreenFixture() {
        session.AttachRunView(&view);
        session.SetMachineType(MODEL_K1);
        doc.NewDocument();
    }
    // The session as a screen of the given model sees it.
    CSession& Session(uint32_t ulModel = MODEL_K1) {
        session.SetMachineType(int32_t(ulModel));
        return session;
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

    CScriptedDialog dialog;
    CRecordingRunView view;
    CRecordingList list;
    CSession session{dialog};
    CTorvexDoc& doc = session.Doc();
    CTestProperty& property = session.Property();
    CRunEngine& engine = session.Engine();
};

} // namespace torvex
