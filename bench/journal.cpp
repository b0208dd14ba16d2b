// The run journal: one judgment journalled and synced, in a small run and in
// one of 100,000 steps, against a bare fdatasync of the same folder (the floor
// any durable write meets), and listing 10,000 runs.
#include "Median.h"

#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "journal/Journal.h"
#include "journal/JournalRun.h"
#include "model/ExecData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

using namespace torvex;

namespace {

double Ms(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

// Processor time of this thread, in ms: on a machine shared with other work
// the wall time of a short computation says more about the others.
double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // On the disk the journal lives on: the user's data folder.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(base);
    QTemporaryDir dir(base + "/torvex-bench-XXXXXX");
    if (!dir.isValid()) {
        fprintf(stderr, "cannot make a folder under %s\n", qPrintable(base));
        return 1;
    }
    const int nRounds = 200;

    CTorvexDoc doc;
    doc.SetRecentFilesKept(false);
    doc.SetMachine(MODEL_K2, 0);
    doc.NewDocument();
    CTestProperty property;
    CJournal journal;
    if (!journal.Open(dir.path())) {
        fprintf(stderr, "cannot open the journal: %s\n", qPrintable(journal.LastError()));
        return 1;
    }
    // A run of 10 steps and one of a lab's size: 100 tests of 1000 steps, all run.
    const qint64 run =
        journal.BeginRun(DescribeRun(doc, TAB_MANUAL, property, MODEL_K2, QStringLiteral("bench")), {});
    const qint64 lab =
        journal.BeginRun(DescribeRun(doc, TAB_SEQUENCE, property, MODEL_K2, QStringLiteral("bench")), {});
    // Its steps, and 10,000 runs in all copied from the first, in a few
    // statements on a connection of its own.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill");
        db.setDatabaseName(journal.Path());
        db.open();
        QSqlQuery q(db);
        q.exec("PRAGMA busy_timeout=5000");
        const bool ok =
            q.exec("BEGIN") &&
            q.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 99999)"
                                  " INSERT INTO steps(run, entry, step, judgment, started, ended)"
                                  " SELECT %1, i / 1000, i % 1000, 1 + i % 2, i, i + 1 FROM n")
                       .arg(lab)) &&
            q.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 9998)"
                   " INSERT INTO runs(started, ended, outcome, tab, file, model, instrument, version,"
                   " report_start, process, steps_run, passed, failed) "
                   "SELECT started + i * 60000, started + i * 60000 + 30000, 'completed', tab,"
                   " '/lab/test_' || i || '.tvx', model, instrument, version, report_start, process, 3, 2, 1"
                   " FROM runs, n WHERE id = 1") &&
            q.exec(QStringLiteral("INSERT INTO run_data(run, tests, property, source) SELECT id, d.tests,"
                                  " d.property, d.source FROM runs, run_data AS d WHERE id > %1 AND d.run = 1")
                       .arg(lab)) &&
            q.exec("COMMIT");
        if (!ok) {
            fprintf(stderr, "cannot fill the journal: %s\n", qPrintable(q.lastError().text()));
            return 1;
        }
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase("fill");

    // Interleaved, so that all three meet the same load of a shared disk. The
    // reference: 100 bytes appended and fdatasync'ed.
    std::vector<double> sync, judged, judgedLab;
    const QByteArray path = QFile::encodeName(dir.filePath("sync.bin"));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    const char bytes[100] = {};
    for (int i = 0; i < nRounds; ++i) {
        QElapsedTimer t;
        t.start();
        if (::write(fd, bytes, sizeof bytes) != ssize_t(sizeof bytes) || ::fdatasync(fd) != 0) return 1;
        sync.push_back(Ms(t));
        const JOURNAL_STEP step{0, i % 10, i % 2 ? JUDGE_PASS : JUDGE_FAIL, QStringLiteral("コメント %1").arg(i)};
        for (auto [nRun, pTimes] : {std::pair{run, &judged}, std::pair{lab, &judgedLab}}) {
            t.restart();
            if (!journal.SetSteps(nRun, {step}, QStringLiteral("judgment"))) return 1;
            pTimes->push_back(Ms(t));
        }
    }
    ::close(fd);

    // 10,000 runs in all, copied from the first in one statement on a connection of its own.
    std::vector<double> listed, listedCpu;
    size_t nListed = 0;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer t;
        t.start();
        const double cpu = CpuMs();
        nListed = journal.ListRuns().size();
        listedCpu.push_back(CpuMs() - cpu);
        listed.push_back(Ms(t));
    }

    const double mSync = Median(sync), mJudged = Median(judged), mList = Median(listed);
    printf("fdatasync of 100 bytes (reference)     median %7.3f ms\n", mSync);
    printf("one judgment journalled, synced        median %7.3f ms  (%.2f x the reference; target 1 ms)\n",
           mJudged, mJudged / mSync);
    printf("  the same in a run of 100,000 steps   median %7.3f ms  (%.2f x the reference)\n", Median(judgedLab),
           Median(judgedLab) / mSync);
    printf("listing %zu runs                     median %7.3f ms  (target 100 ms; processor time %.3f ms)\n",
           nListed, mList, Median(listedCpu));
    return 0;
}
