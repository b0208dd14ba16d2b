#include "ScreenFixture.h"
#include "gui/screens/CouplingPhaseDlg.h"
#include "gui/screens/ManualDlg.h"
#include "gui/screens/StandardDlg.h"
#include "gui/screens/ValueDlg.h"

#include <QDir>

namespace torvex {

// Renders the screens to PNG files under the build folder, for looking at them.
namespace {

struct RenderTest : ScreenFixture {
    static bool Save(QWidget& w, const char* pszName) {
        const QString folder = QStringLiteral(TORVEX_BINARY_DIR "/screens");
        QDir().mkpath(folder);
        w.show();
        QApplication::processEvents();
        return w.grab().save(folder + QLatin1Char('/') + QLatin1String(pszName) + QStringLiteral(".png"));
    }
};

} // namespace

TEST_F(RenderTest, EveryScreenAndEditorMode) {
    {
        CStandardDlg screen(Session(MODEL_K1), list);
        screen.resize(576, 652);
        EXPECT_TRUE(Save(screen, "standard"));
    }
    CSettingData& c = doc.m_settingManual;
    c.m_outOutput.m_aopOutputPort[PORT_CDN].m_nSync = 1;
    c.m_outOutput.m_aopOutputPort[PORT_CDN].m_nOutputDetail = DETAIL_THREE;
    c.m_valFreq.m_nValueType = VALUE_SWEEP;
    c.m_valFreq.m_lStart = 1000;
    c.m_valFreq.m_lEnd = 5000;
    c.m_valFreq.m_lStep = 1000;
    c.m_bAlternative = 0;
    {
        CManualDlg screen(Session(MODEL_K1), list);
        screen.resize(576, 652);
        EXPECT_TRUE(Save(screen, "manual"));
    }
    c.m_outOutput.m_nOutputPort = PORT_PULSE_OUT;
    c.m_bContinuous = 1;
    {
        CManualDlg screen(Session(MODEL_K2), list);
        screen.resize(576, 652);
        EXPECT_TRUE(Save(screen, "manual_pulse_out_continuous"));
    }
    c.m_valVolt.m_nValueType = VALUE_VARIABLE;
    for (const char* pszMode : {"edit", "display"}) {
        for (int32_t nType : {VALUE_FIXED, VALUE_SWEEP, VALUE_VARIABLE}) {
            CValueDlg editor;
            editor.Bind(&c, KIND_VOLT, nullptr);
            if (QByteArray(pszMode) == "display") editor.SetDisplayMode();
            editor.SelectType(nType);
            editor.resize(240, 150);
            EXPECT_TRUE(Save(editor, QByteArray("value_") + pszMode + "_" + QByteArray::number(nType)));
        }
    }
    CCouplingPhaseDlg coupling;
    c.m_outOutput.m_aopOutputPort[PORT_CDN].m_uCouplingType = 1;
    coupling.Bind(&c.m_outOutput, nullptr);
    EXPECT_TRUE(Save(coupling, "coupling_sweep"));
}

} // namespace torvex
