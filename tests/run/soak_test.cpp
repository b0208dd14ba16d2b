#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "instrument/RsBasicProtocol.h"
#include "instrument/TorvexCntl.h"
#include "model/StepExpansion.h"
#include "run/RunEngine.h"
#include "session/Session.h"
#include "sim/TorvexSimulator.h"
#include "support/RecordingRunView.h"
#include "support/ScriptedDialog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define TORVEX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TORVEX_ASAN 1
#endif
#endif
#ifdef TORVEX_ASAN
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace torvex {

namespace {

// Memory the program holds, in KiB: its resident size. Under AddressSanitizer
// that also holds the freed blocks the sanitizer keeps in quarantine to catch
// late uses (tens of megabytes over these steps), so there its count of live
// heap bytes is measured instead.
long HeldKiB() {
#ifdef TORVEX_ASAN
    return long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    QFile f("/proc/self/statm");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
#endif
}

} // namespace

// A thousand steps in one run: every one passes, the instrument sees exactly
// the expected commands, and memory stays flat while the run goes on.
TEST(Soak, ThousandStepRun) {
    SimOptions opt;
    opt.dTimeScale = 1000.0; // a 1 s step passes in 1 ms
    opt.nBaud = 0;           // and the line is as fast as the pseudo-terminal
    CTorvexSimulator sim(opt);
    ASSERT_TRUE(sim.Start());
    qputenv("TORVEX_PORTS_ONLY", "1");
    CRsBasicProtocol::SetExtraPorts({sim.DevicePath()});
    CScriptedDialog dialog;
    CRecordingRunView view;
    CSession session(dialog);
    session.AttachRunView(&view);
    ASSERT_TRUE(session.Connect());
    session.SetNotConnected(false);

    CTorvexDoc& doc = session.Doc();
    session.SetMachineType(MODEL_K2);
    doc.OnNewDocument();
    doc.SetTab(TAB_MANUAL);
    CSettingData& c = doc.m_settingManual;
    c.m_lTestTime = 1;
    c.m_ulPola = 3;
    c.m_valVolt = VALUE_STRUCT{VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 1, 1, 1}, {500, 1000, 1500, 2000, 2500}};
    c.m_valFreq = VALUE_STRUCT{VALUE_SWEEP, 0, 1000, 100000, 1000, {}, {}};
    ASSERT_EQ(ExpandSteps(c), 1000);

    QTemporaryDir logDir;
    CRunEngine& engine = session.Engine();
    engine.SetLogFolderOverride(logDir.path() + "/");
    engine.Start();
    engine.SetMode(MODE_MANUAL);
    engine.SetPollInterval(5);
    sim.ClearLog();

    // The commands of each step, compared as the run goes, so that nothing
    // grows with the number of steps but the program itself.
    auto expectedOf = [](const CExecData& s) {
        return QStringList{"CB",
                           "QA",
                           QString("PC%1").arg(s.m_nPola),
                           QString("PD%1").arg(s.m_lVolt),
                           QString("PE%1").arg(s.m_lFreq / 10),
                           "PF0/0/1",
                           "PG300",
                           QString("PH%1").arg(s.m_lPulseCount),
                           QStringLiteral("PI0'0"),
                           "PJ0",
                           "PO0",
                           "CA"};
    };
    QString why;
    int nEnded = 0, nStreamMismatches = 0;
    long rssAt100 = 0, rssAt900 = 0;
    QObject::connect(&engine, &CRunEngine::runEnded, [&](RunEnd w) { why = RunEndName(w); });
    QObject::connect(&engine, &CRunEngine::stepEnded, [&](int, int nStep, int) {
        QStringList got;
        for (const QString& cmd : sim.CommandLog())
            if (cmd != "QB" && cmd != "QM" && cmd != "QF") got << cmd;
        sim.ClearLog(); // nothing is in flight: the engine is the only sender
        if (got != expectedOf(c.m_listExec[size_t(nStep)]) && ++nStreamMismatches == 1)
            ADD_FAILURE() << "step " << nStep + 1 << ": " << got.join(' ').toStdString();
        ++nEnded;
        if (nEnded == 100) rssAt100 = HeldKiB();
        if (nEnded == 900) rssAt900 = HeldKiB();
        view.log.clear(); // the recording view is not what is measured
    });
    engine.OnStart();
    QElapsedTimer t;
    t.start();
    while (why.isEmpty() && t.elapsed() < 600000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::usleep(200);
    }
    engine.Close();
    ASSERT_EQ(why, "finished");
    EXPECT_EQ(nEnded, 1000);
    EXPECT_EQ(nStreamMismatches, 0);
    for (CExecData& s : c.m_listExec)
        ASSERT_EQ(s.GetText(COL_JUDGE), QStringLiteral("合格"));
    // Steps leave nothing behind: 800 more steps may not cost a megabyte.
    EXPECT_LT(rssAt900 - rssAt100, 1024)
        << rssAt100 << " KiB at step 100, " << rssAt900 << " KiB at step 900";
}

} // namespace torvex
