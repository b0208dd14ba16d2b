// Time from a value entered on the MANUAL screen to the step list showing the
// new steps: rules, expansion, a QTableView filled through a model, read-outs.
// Reference in the same run: the expansion alone.
#include "Median.h"
#include "config/TestProperty.h"
#include "files/TorvexDoc.h"
#include "gui/screens/ManualDlg.h"
#include "gui/screens/ValueDlg.h"
#include "gui/screens/ValuePage.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/NumericLineEdit.h"
#include "instrument/TorvexCntl.h"
#include "model/OperatorDialog.h"
#include "model/StepExpansion.h"
#include "results/StepListView.h"
#include "run/RunEngine.h"

#include "session/Session.h"
#include <QAbstractTableModel>

#include <QApplication>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QHeaderView>
#include <QTableView>
#include <cstdio>
#include <vector>

using namespace torvex;

namespace {

class CQuietDialog : public COperatorDialog {
public:
    void Message(const QString&) override {}
    bool AskOkCancel(const QString&) override { return true; }
    bool AskYesNo(const QString&) override { return true; }
    Answer AskYesNoCancel(const QString&) override { return No; }
    QString OpenFileName(const QString&, const QStringList&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QStringList&, const QString&) override {
        return {};
    }
};

// A step list as simple as a list can be: the texts of eleven columns.
class CStepModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex&) const override { return int(m_rows.size()); }
    int columnCount(const QModelIndex&) const override { return 11; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        return m_rows[index.row()][index.column()];
    }
    void Fill(const std::vector<CExecData>& steps) {
        beginResetModel();
        m_rows.clear();
        m_rows.reserve(steps.size());
        static const int cols[11] = {COL_VOLT,       COL_POLA,         COL_FREQ,     COL_PULSE_COUNT,
                                     COL_BURST_DURA, COL_BURST_PERIOD, COL_TIME_SEC, COL_OUTPUT_PORT,
                                     COL_INJ_LINE,   COL_ANGLE,        COL_JUDGE};
        for (const CExecData& step : steps) {
            std::vector<QString> row;
            for (int c : cols)
                row.push_back(const_cast<CExecData&>(step).GetText(c));
            m_rows.push_back(std::move(row));
        }
        endResetModel();
    }

private:
    std::vector<std::vector<QString>> m_rows;
};

class CTableList : public CStepListView {
public:
    explicit CTableList(QTableView& view) : m_view(view) { m_view.setModel(&m_model); }
    void FillList(const std::vector<CExecData>& steps) override { m_model.Fill(steps); }
    void ShowStepLimit(int64_t) override {}
    void SelectRow(int nRow) override {
        m_view.selectRow(nRow);
        m_view.scrollTo(m_model.index(nRow, 0));
    }

private:
    QTableView& m_view;
    CStepModel m_model;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutions();

    CQuietDialog dialog;
    CSession session(dialog);
    session.SetMachineType(MODEL_K1);
    CTorvexDoc& doc = session.Doc();
    doc.NewDocument();
    QTableView table;
    table.resize(900, 400);
    table.show();
    CTableList list(table);

    // 5 voltages × 2 polarities × an angle sweep the typed STOP sets to 100 values.
    CSettingData& c = doc.m_settingManual;
    c.m_ulPola = 3;
    c.m_valVolt = VALUE_STRUCT{VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 1, 1, 1}, {500, 600, 700, 800, 900}};
    c.m_outOutput.m_aopOutputPort[PORT_CDN].m_nSync = 1;
    c.m_outOutput.m_aopOutputPort[PORT_CDN].m_valAngle = VALUE_STRUCT{VALUE_SWEEP, 0, 0, 98, 1, {}, {}};

    CManualDlg screen(session, list);
    screen.show();
    QApplication::processEvents();
    QLineEdit* pStop = screen.AngleEditor()->Page(VALUE_SWEEP)->Rows()[1].m_pBox;

    const int nRounds = 40;
    std::vector<double> screenMs, expandMs;
    for (int i = 0; i < nRounds; ++i) {
        // Alternate 99 and 98 so every entry is a change: 1000 and 990 steps.
        pStop->setText(i % 2 ? QStringLiteral("98") : QStringLiteral("99"));
        QElapsedTimer t;
        t.start();
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(pStop, &out); // the box is left: the value is taken
        table.viewport()->repaint();          // and the list shows it
        screenMs.push_back(t.nsecsElapsed() / 1e6);

        CSettingData copy = c;
        t.restart();
        ExpandSteps(copy);
        expandMs.push_back(t.nsecsElapsed() / 1e6);
    }
    const double s = Median(screenMs), e = Median(expandMs);
    std::printf("MANUAL screen, typed value to step list of %lld steps (median of %d): %.2f ms\n",
                static_cast<long long>(c.m_listExec.size()), nRounds, s);
    std::printf("reference, expansion alone: %.2f ms; ratio %.1f\n", e, e > 0 ? s / e : 0.0);
    return 0;
}
