// Reading and writing a sequence file of 100 tests × 1000 steps through the
// document, against a plain read of the same file into a reused buffer: the
// same number of runs each, medians, and the process's peak memory.
//
//   bench_files_io [RUNS]
#include "LabSequence.h"
#include "Median.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

using namespace torvex;

namespace {

long PeakKiB() {
    struct rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

template <class Fn> double Seconds(Fn fn) {
    QElapsedTimer t;
    t.start();
    fn();
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.tvxs");

    CCollectingDialog dialog;
    CTorvexDoc doc;
    doc.SetDialog(&dialog);
    doc.SetRecentFilesKept(false);
    if (!MakeLabSequence(doc)) return 1;
    const long peakBuilt = PeakKiB();
    if (!doc.WriteSequenceFile(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const double mb = double(QFile(path).size()) / 1e6;

    // Interleaved rounds, so that all three see the same load of a shared machine.
    std::vector<double> tWrite, tPlain, tRead;
    std::vector<char> buffer(1 << 20);
    CTorvexDoc reader;
    reader.SetDialog(&dialog);
    reader.SetRecentFilesKept(false);
    for (int i = 0; i < nRuns; ++i) {
        tWrite.push_back(Seconds([&] { doc.WriteSequenceFile(path); }));
        tPlain.push_back(Seconds([&] {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) return;
            while (f.read(buffer.data(), qint64(buffer.size())) > 0) {
            }
        }));
        tRead.push_back(Seconds([&] { reader.ReadSequenceFile(path); }));
    }
    if (reader.m_sequence.Count() != kLabTests ||
        reader.m_sequence.Entry(kLabTests - 1)->m_listExec.size() != size_t(kLabStepsPerTest)) {
        std::fprintf(stderr, "the file did not read back\n");
        return 1;
    }

    const double dPlain = Median(tPlain), dRead = Median(tRead), dWrite = Median(tWrite);
    std::printf("sequence file: %d tests x %d steps, %.1f MB; median of %d runs each\n", kLabTests,
                kLabStepsPerTest, mb, nRuns);
    std::printf("  plain read     %8.1f MB/s  (%.3f s)\n", mb / dPlain, dPlain);
    std::printf("  document read  %8.1f MB/s  (%.3f s)  %.1fx the plain read's time\n", mb / dRead, dRead,
                dRead / dPlain);
    std::printf("  document write %8.1f MB/s  (%.3f s)  %.1fx the plain read's time\n", mb / dWrite, dWrite,
                dWrite / dPlain);
    std::printf("  peak memory    %ld KiB after building the list, %ld KiB in all (file %.0f KiB)\n",
                peakBuilt, PeakKiB(), mb * 1e6 / 1024);
    return 0;
}
