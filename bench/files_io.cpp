// Reading and writing a sequence file of 100 entries × 1000 steps, against a
// plain read of the same file, with the process's peak memory.
#include "files/TorvexDoc.h"
#include "model/StepExpansion.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

long PeakKiB() {
    struct rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

// Best of several runs, in seconds.
template <class Fn> double Best(int nRuns, Fn fn) {
    double best = 1e30;
    for (int i = 0; i < nRuns; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        best = std::min(best, t.nsecsElapsed() / 1e9);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.tvxs");
    const int nRuns = 5;

    CTorvexDoc doc;
    doc.SetRecentFilesKept(false);
    // 5 voltages × 2 polarities × 100 frequencies = 1000 steps an entry.
    CSettingData cond;
    cond.m_ulMachineType = MODEL_K2;
    cond.m_ulPola = 3;
    cond.m_valVolt = {VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 1, 1, 1}, {500, 1000, 2000, 3000, 4000}};
    cond.m_valFreq = {VALUE_SWEEP, 5000, 1000, 100000, 1000, {1, 0, 0, 0, 0}, {5000, 0, 0, 0, 0}};
    if (ExpandSteps(cond) != 1000) {
        fprintf(stderr, "the bench condition does not make 1000 steps\n");
        return 1;
    }
    for (int i = 0; i < 100; ++i) {
        doc.m_sequence.m_listEntry.push_back(std::make_unique<CSettingData>(cond));
        doc.m_sequence.m_listEntry.back()->m_strTestName = QString("entry %1").arg(i);
    }
    const long peakBuilt = PeakKiB();

    const double tWrite = Best(nRuns, [&] { doc.WriteSequenceFile(path); });
    const double mb = QFile(path).size() / 1e6;

    const double tPlain = Best(nRuns, [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        volatile qsizetype n = f.readAll().size();
        (void)n;
    });

    doc.m_sequence.m_listEntry.clear();
    const double tRead = Best(nRuns, [&] { doc.ReadSequenceFile(path); });
    if (doc.m_sequence.Count() != 100 || doc.m_sequence.Entry(99)->m_listExec.size() != 1000) {
        fprintf(stderr, "the file did not read back\n");
        return 1;
    }

    printf("sequence file: 100 entries x 1000 steps, %.1f MB (best of %d)\n", mb, nRuns);
    printf("  plain read     %8.1f MB/s  (%.3f s)\n", mb / tPlain, tPlain);
    printf("  document read  %8.1f MB/s  (%.3f s)  %.1fx the plain read's time\n", mb / tRead, tRead,
           tRead / tPlain);
    printf("  document write %8.1f MB/s  (%.3f s)  %.1fx the plain read's time\n", mb / tWrite, tWrite,
           tWrite / tPlain);
    printf("  peak memory    %ld KiB after building the list, %ld KiB in all (file %.0f KiB)\n", peakBuilt,
           PeakKiB(), mb * 1e6 / 1024);
    return 0;
}
