// Writing the report of a 20-entry sequence of 1000 steps each: seconds and
// peak memory of the writer, against Python's openpyxl writing the same cells
// (same sheets, values and top alignment) in the same run.
#include "results/ReportWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kEntries = 20;
constexpr int kSteps = 1000;
constexpr int kRuns = 3;
const char* kPython = "/usr/bin/python3";

// Every cell of a workbook, blank ones too, as JSON lines: [sheet, row, col, value].
const char* kDumpScript = R"(
import json, sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
with open(sys.argv[2], "w", encoding="utf-8") as out:
    json.dump([ws.title for ws in book.worksheets], out, ensure_ascii=False)
    out.write("\n")
    for i, ws in enumerate(book.worksheets):
        for (r, c), cell in sorted(ws._cells.items()):
            json.dump([i, r, c, cell.value], out, ensure_ascii=False)
            out.write("\n")
)";

// Writes the dumped cells with openpyxl; prints seconds and memory.
const char* kWriteScript = R"(
import json, resource, sys, time, openpyxl
from openpyxl.styles import Alignment
with open(sys.argv[1], encoding="utf-8") as f:
    names = json.loads(f.readline())
    cells = [json.loads(line) for line in f]
base = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
t0 = time.perf_counter()
book = openpyxl.Workbook()
sheets = [book.active] + [book.create_sheet() for _ in names[1:]]
for ws, name in zip(sheets, names):
    ws.title = name
top = Alignment(vertical="top")
for i, r, c, v in cells:
    cell = sheets[i].cell(row=r, column=c, value=v)
    cell.alignment = top
book.save(sys.argv[2])
t = time.perf_counter() - t0
peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
print(json.dumps({"seconds": t, "base_kb": base, "peak_kb": peak, "cells": len(cells)}))
)";

long CurrentRssKb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long PeakRssKb() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

CReportData MakeSequence() {
    CReportData data;
    data.m_nTestType = REPORT_SEQUENCE;
    data.m_ulMachineType = MODEL_K2;
    data.m_timeStart = 1706661005;
    data.m_strSeqFileName = QStringLiteral("bench.tvxs");
    data.m_property.m_strCompanyName = QStringLiteral("ケルヴォラ試験所");
    for (int e = 0; e < kEntries; ++e) {
        CSettingData cond;
        cond.m_ulMachineType = MODEL_K2;
        cond.m_strTestName = QStringLiteral("試験%1").arg(e + 1);
        cond.m_listExec.resize(kSteps);
        for (int s = 0; s < kSteps; ++s) {
            CExecData& step = cond.m_listExec[size_t(s)];
            step.m_lVolt = 200 + (s % 381) * 10;
            step.m_nPola = s % 2;
            step.m_lFreq = 1000 * (1 + s % 100);
            step.m_ulInjLine = uint32_t(1 + s % 7);
            step.m_nJudge = s % 3;
            if (s % 10 == 0) step.m_strComment = QStringLiteral("ステップ%1 異常なし").arg(s + 1);
        }
        data.m_listTest.push_back(std::move(cond));
    }
    return data;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const CReportData data = MakeSequence();
    const QString out = dir.filePath("report.xlsx");

    const long base = CurrentRssKb();
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        QString error;
        if (!WriteReport(data, out, &error)) {
            std::fprintf(stderr, "report not written: %s\n", qPrintable(error));
            return 1;
        }
        best = std::min(best, double(t.nsecsElapsed()) / 1e9);
    }
    const long peak = PeakRssKb();
    std::printf("torvex writer:  %.3f s (best of %d), peak memory +%ld KiB over %ld KiB, file %lld bytes\n",
                best, kRuns, peak - base, base, QFileInfo(out).size());

    // The reference writes exactly the cells of that workbook.
    const QString dump = dir.filePath("cells.jsonl");
    QProcess p;
    p.start(kPython, {"-c", kDumpScript, out, dump});
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        std::fprintf(stderr, "openpyxl not usable: %s\n", p.readAllStandardError().constData());
        return 1;
    }
    p.start(kPython, {"-c", kWriteScript, dump, dir.filePath("openpyxl.xlsx")});
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        std::fprintf(stderr, "openpyxl failed: %s\n", p.readAllStandardError().constData());
        return 1;
    }
    const QJsonObject ref = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    const double refSeconds = ref.value("seconds").toDouble();
    const long refMem = long(ref.value("peak_kb").toDouble() - ref.value("base_kb").toDouble());
    std::printf("openpyxl:       %.3f s, peak memory +%ld KiB, %d cells\n", refSeconds, refMem,
                ref.value("cells").toInt());
    std::printf("ratio openpyxl / torvex: time %.1fx, memory %.1fx\n", refSeconds / best,
                double(refMem) / double(std::max(1L, peak - base)));
    return 0;
}
