// `torvex steps` on a sequence file of 100 tests × 1000 steps, in every output
// format, against `cat` of the same file: wall time and peak memory of each
// process, measured from outside, the same number of runs each, medians.
// Standard output goes to /dev/null for all of them.
//
//   bench_steps_cli [RUNS] [FILE]   (FILE: where to keep the sequence file)
#include "Child.h"
#include "LabSequence.h"
#include "Median.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

using namespace torvex;

namespace {

struct CASE {
    const char* m_pszName;
    std::vector<std::string> m_argv;
    std::vector<double> m_listSeconds;
    std::vector<double> m_listKiB;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath("lab.tvxs");
    if (!QFileInfo::exists(path) && !WriteLabSequence(path)) return 1;
    const std::string file = path.toStdString();
    const std::string torvex = TORVEX_BINARY_DIR "/torvex";

    std::vector<CASE> cases = {
        {"cat", {"/bin/cat", file}, {}, {}},
        {"torvex steps", {torvex, "steps", file}, {}, {}},
        {"torvex steps --format tsv", {torvex, "steps", file, "--format", "tsv"}, {}, {}},
        {"torvex steps --format csv", {torvex, "steps", file, "--format", "csv"}, {}, {}},
        {"torvex steps --format json", {torvex, "steps", file, "--format", "json"}, {}, {}},
    };
    // One round unmeasured, so every run reads the file from the page cache.
    for (CASE& c : cases)
        RunChild(c.m_argv);
    // Interleaved, so that every case sees the same load of a shared machine.
    for (int i = 0; i < nRuns; ++i) {
        for (CASE& c : cases) {
            const CHILD_RESULT r = RunChild(c.m_argv);
            if (r.m_nExit != 0) {
                std::fprintf(stderr, "%s failed (exit %d)\n", c.m_pszName, r.m_nExit);
                return 1;
            }
            c.m_listSeconds.push_back(r.m_dSeconds);
            c.m_listKiB.push_back(double(r.m_lPeakKiB));
        }
    }

    const double dCat = Median(cases[0].m_listSeconds);
    std::printf("sequence file: %d tests x %d steps, %.1f MB; median of %d runs each\n", kLabTests,
                kLabStepsPerTest, double(QFileInfo(path).size()) / 1e6, nRuns);
    for (const CASE& c : cases)
        std::printf("  %-28s %8.3f s  %6.1fx cat   peak %7.1f MB\n", c.m_pszName, Median(c.m_listSeconds),
                    Median(c.m_listSeconds) / dCat, Median(c.m_listKiB) / 1024);
    return 0;
}
