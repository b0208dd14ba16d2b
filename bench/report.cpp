// `torvex report` of a sequence file of 100 tests × 1000 steps, against
// openpyxl in its write-only mode writing the same cells (same sheets, values
// and top alignment) in Python: wall time and peak memory of each process,
// measured from outside, the same number of runs each, medians.
//
//   bench_report [RUNS] [FILE]   (FILE: where to keep the sequence file)
#include "Child.h"
#include "LabSequence.h"
#include "Median.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

using namespace torvex;

namespace {

const char* kPython = "/usr/bin/python3";

// Every row of a workbook as JSON lines, read with Python's own zip and XML
// modules: the sheet names first, then [sheet, row, [value or null, ...]].
const char* kDumpScript = R"(
import json, re, sys, zipfile
import xml.etree.ElementTree as ET
NS = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
def col(ref):
    n = 0
    for ch in re.match(r"[A-Z]+", ref).group(0):
        n = n * 26 + ord(ch) - 64
    return n
z = zipfile.ZipFile(sys.argv[1])
names = [s.get("name") for s in ET.fromstring(z.read("xl/workbook.xml")).iter(NS + "sheet")]
shared = []
if "xl/sharedStrings.xml" in z.namelist():
    shared = ["".join(t.text or "" for t in si.iter(NS + "t"))
              for si in ET.fromstring(z.read("xl/sharedStrings.xml")).iter(NS + "si")]
with open(sys.argv[2], "w", encoding="utf-8") as out:
    json.dump(names, out, ensure_ascii=False)
    out.write("\n")
    for i in range(len(names)):
        with z.open("xl/worksheets/sheet%d.xml" % (i + 1)) as f:
            for _, row in ET.iterparse(f):
                if row.tag != NS + "row":
                    continue
                values = []
                for c in row.iter(NS + "c"):
                    n = col(c.get("r"))
                    values += [None] * (n - 1 - len(values))
                    t, v = c.get("t"), c.find(NS + "v")
                    if t == "inlineStr":
                        values.append("".join(x.text or "" for x in c.iter(NS + "t")))
                    elif t == "s":
                        values.append(shared[int(v.text)])
                    elif v is not None:
                        values.append(float(v.text))
                    else:
                        values.append("")  # a blank cell that keeps its alignment
                json.dump([i, int(row.get("r")), values], out, ensure_ascii=False)
                out.write("\n")
                row.clear()
)";

// The reference: openpyxl's write-only mode, rows streamed from the dump.
const char* kWriteScript = R"(
import json, sys
from openpyxl import Workbook
from openpyxl.cell import WriteOnlyCell
from openpyxl.styles import Alignment
book = Workbook(write_only=True)
top = Alignment(vertical="top")
with open(sys.argv[1], encoding="utf-8") as f:
    sheets = [book.create_sheet(title=name) for name in json.loads(f.readline())]
    written = [0] * len(sheets)
    for line in f:
        i, r, values = json.loads(line)
        ws = sheets[i]
        while written[i] < r - 1:
            ws.append([])
            written[i] += 1
        cells = []
        for v in values:
            if v is None:
                cells.append(None)
                continue
            cell = WriteOnlyCell(ws, value=None if v == "" else v)
            cell.alignment = top
            cells.append(cell)
        ws.append(cells)
        written[i] += 1
book.save(sys.argv[2])
)";

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir dir;
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath("lab.tvxs");
    if (!QFileInfo::exists(path) && !WriteLabSequence(path)) return 1;
    const std::string torvex = TORVEX_BINARY_DIR "/torvex";
    const std::string out = dir.filePath("report.xlsx").toStdString();
    const std::string ref = dir.filePath("openpyxl.xlsx").toStdString();
    const std::string dump = dir.filePath("rows.jsonl").toStdString();

    const std::vector<std::string> report = {torvex, "report", path.toStdString(), "--out", out};
    if (RunChild(report).m_nExit != 0) {
        std::fprintf(stderr, "torvex report failed\n");
        return 1;
    }
    // The reference writes exactly the cells of that workbook.
    if (RunChild({kPython, "-c", kDumpScript, out, dump}, "/dev/null", true).m_nExit != 0) {
        std::fprintf(stderr, "the workbook could not be read back\n");
        return 1;
    }
    const std::vector<std::string> reference = {kPython, "-c", kWriteScript, dump, ref};

    std::vector<double> t, tRef, m, mRef;
    // Interleaved, so that both see the same load of a shared machine.
    for (int i = 0; i < nRuns; ++i) {
        const CHILD_RESULT r = RunChild(report);
        const CHILD_RESULT p = RunChild(reference, "/dev/null", true);
        if (r.m_nExit != 0 || p.m_nExit != 0) {
            std::fprintf(stderr, "a run failed (torvex %d, openpyxl %d)\n", r.m_nExit, p.m_nExit);
            return 1;
        }
        t.push_back(r.m_dSeconds);
        m.push_back(double(r.m_lPeakKiB));
        tRef.push_back(p.m_dSeconds);
        mRef.push_back(double(p.m_lPeakKiB));
    }
    std::printf("report of %d tests x %d steps (%.1f MB sequence file); median of %d runs each\n", kLabTests,
                kLabStepsPerTest, double(QFileInfo(path).size()) / 1e6, nRuns);
    std::printf("  torvex report             %7.2f s  peak %6.1f MB  (workbook %.1f MB)\n", Median(t),
                Median(m) / 1024, double(QFileInfo(QString::fromStdString(out)).size()) / 1e6);
    std::printf("  openpyxl write-only mode  %7.2f s  peak %6.1f MB  (workbook %.1f MB)\n", Median(tRef),
                Median(mRef) / 1024, double(QFileInfo(QString::fromStdString(ref)).size()) / 1e6);
    std::printf("  openpyxl / torvex: time %.1fx, memory %.2fx\n", Median(tRef) / Median(t),
                Median(mRef) / Median(m));
    return 0;
}
