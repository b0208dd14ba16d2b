// Filling the step list with 1000 rows and painting it, against a plain
// QTableView whose model hands out the same texts prepared beforehand; then
// redrawing the plan chart of those steps against redrawing the list.
#include "Median.h"
#include "config/TestProperty.h"
#include "files/CollectingDialog.h"
#include "files/TorvexDoc.h"
#include "gui/results/ExecListDlg.h"
#include "gui/results/PlanChartWidget.h"
#include "gui/widgets/Fonts.h"
#include "instrument/TorvexCntl.h"
#include "model/StepExpansion.h"
#include "run/RunEngine.h"
#include "session/Session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardItemModel>
#include <QTableView>
#include <cstdio>
#include <vector>

using namespace torvex;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TORVEX_PORTS_ONLY", "1");
    QApplication app(argc, argv);
    InstallFontSubstitutions();

    CCollectingDialog dialog;
    CSession session(dialog);
    session.SetMachineType(MODEL_K2);
    CTorvexDoc& doc = session.Doc();
    doc.NewDocument();
    CSettingData& c = doc.m_settingManual;
    c.m_ulPola = 3;
    c.m_valVolt = VALUE_STRUCT{VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 1, 1, 1}, {500, 1000, 1500, 2000, 2500}};
    c.m_valFreq = VALUE_STRUCT{VALUE_SWEEP, 0, 1000, 100000, 1000, {}, {}};
    ExpandSteps(c);
    const std::vector<CExecData> none;

    CExecListDlg list(doc, session.Engine(), session.Judgments(), dialog, STEP_LIST_HOST{});
    list.resize(700, 500);
    list.show();

    // The same texts, ready-made, in a standard model.
    QStandardItemModel plain(1000, 9);
    for (int r = 0; r < 1000; ++r) {
        CExecData s = c.m_listExec[size_t(r)];
        const int cols[9] = {
            0, COL_JUDGE, COL_VOLT, COL_POLA, COL_FREQ, COL_BURST_DURA, COL_INJ_LINE, COL_ANGLE, COL_COMMENT};
        for (int k = 0; k < 9; ++k)
            plain.setItem(
                r, k, new QStandardItem(k == 0 ? QString::asprintf("Step %3d", r + 1) : s.GetText(cols[k])));
    }
    QTableView table;
    table.resize(700, 500);
    table.show();

    std::vector<double> ours, reference;
    QElapsedTimer t;
    for (int i = 0; i < 15; ++i) {
        list.FillList(none);
        QApplication::processEvents();
        t.start();
        list.FillList(c.m_listExec);
        list.SelectRow(0);
        list.repaint();
        ours.push_back(double(t.nsecsElapsed()) / 1e6);

        table.setModel(nullptr);
        QApplication::processEvents();
        t.start();
        table.setModel(&plain);
        table.selectRow(0);
        table.repaint();
        reference.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double a = Median(ours), b = Median(reference);
    std::printf("step list, 1000 rows filled and painted: median %.2f ms\n", a);
    std::printf("plain table view over ready-made texts:  median %.2f ms (ratio %.2f)\n", b, a / b);

    // Redrawing the plan chart of the same 1000 steps (judgments changed, so
    // nothing is cached) beside redrawing the list itself.
    std::vector<double> chart, rows;
    for (int i = 0; i < 31; ++i) {
        for (size_t k = 0; k < c.m_listExec.size(); ++k)
            c.m_listExec[k].m_nJudge = int32_t((k + size_t(i)) % 3);
        t.start();
        list.Chart()->repaint();
        chart.push_back(double(t.nsecsElapsed()) / 1e6);
        t.start();
        list.Table()->viewport()->repaint();
        rows.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double dChart = Median(chart), dRows = Median(rows);
    std::printf("plan chart of 1000 steps redrawn (%dx%d): median %.2f ms\n", list.Chart()->width(),
                list.Chart()->height(), dChart);
    std::printf("step list redrawn:                        median %.2f ms (chart/list %.2f)\n", dRows,
                dChart / dRows);
    return 0;
}
