#include "gui/journal/HistoryDlg.h"

#include "gui/results/ReportOutput.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/ReportList.h"
#include "instrument/TorvexCntl.h"
#include "journal/JournalRun.h"
#include "model/ExecData.h"
#include "model/OperatorDialog.h"
#include "results/ReportWriter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <map>

namespace torvex {

namespace {

// Outcome choices of the filter and the words the list shows, in one place.
struct OUTCOME_TEXT {
    int32_t nOutcome; // -2 any, -1 unfinished
    const char* pszText;
};
const OUTCOME_TEXT kOutcomes[] = {
    {-2, QT_TRANSLATE_NOOP("torvex::CHistoryDlg", "すべて")},
    {OUTCOME_COMPLETED, QT_TRANSLATE_NOOP("torvex::CHistoryDlg", "完了")},
    {OUTCOME_STOPPED, QT_TRANSLATE_NOOP("torvex::CHistoryDlg", "停止")},
    {OUTCOME_ERROR, QT_TRANSLATE_NOOP("torvex::CHistoryDlg", "エラー")},
    {OUTCOME_LOST, QT_TRANSLATE_NOOP("torvex::CHistoryDlg", "通信断")},
    {OUTCOME_ENDED, QT_TRANSLATE_NOOP("torvex::CHistoryDlg", "プログラム終了")},
    {-1, QT_TRANSLATE_NOOP("torvex::CHistoryDlg", "未終了")},
};

QString OutcomeText(int32_t nOutcome) {
    for (const OUTCOME_TEXT& o : kOutcomes)
        if (o.nOutcome == nOutcome) return CHistoryDlg::tr(o.pszText);
    return QString();
}

QString TimeText(qint64 ms) {
    return ms < 0 ? QString()
                  : QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QStandardItem* Cell(const QString& text, Qt::Alignment align = Qt::AlignLeft) {
    auto* p = new QStandardItem(text);
    p->setEditable(false);
    p->setTextAlignment(align | Qt::AlignVCenter);
    return p;
}

} // namespace

CHistoryDlg::CHistoryDlg(CJournal& journal, COperatorDialog& dialog, QWidget* pParent)
    : QDialog(pParent), m_journal(journal), m_dialog(dialog) {
    setWindowTitle(tr("試験履歴"));
    setFont(UiFont(14));
    resize(1100, 640);

    m_pUseDates = new QCheckBox(tr("期間"), this);
    m_pFrom = new QDateEdit(QDate::currentDate().addMonths(-1), this);
    m_pUntil = new QDateEdit(QDate::currentDate(), this);
    for (QDateEdit* p : {m_pFrom, m_pUntil}) {
        p->setCalendarPopup(true);
        p->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        p->setEnabled(false);
    }
    m_pFile = new QLineEdit(this);
    m_pFile->setPlaceholderText(tr("ファイル名の一部"));
    m_pOutcome = new QComboBox(this);
    for (const OUTCOME_TEXT& o : kOutcomes)
        m_pOutcome->addItem(CHistoryDlg::tr(o.pszText), o.nOutcome);

    auto* pFilters = new QHBoxLayout;
    pFilters->addWidget(m_pUseDates);
    pFilters->addWidget(m_pFrom);
    pFilters->addWidget(new QLabel(tr("～"), this));
    pFilters->addWidget(m_pUntil);
    pFilters->addSpacing(16);
    pFilters->addWidget(new QLabel(tr("ファイル"), this));
    pFilters->addWidget(m_pFile, 1);
    pFilters->addSpacing(16);
    pFilters->addWidget(new QLabel(tr("結果"), this));
    pFilters->addWidget(m_pOutcome);

    m_pRunModel = new QStandardItemModel(this);
    m_pRunModel->setHorizontalHeaderLabels({QStringLiteral("ID"), tr("開始"), tr("終了"), tr("ファイル"),
                                            tr("タブ"), tr("型名"), tr("結果"), tr("実行ステップ"),
                                            tr("合格"), tr("不合格")});
    m_pRuns = new QTableView(this);
    m_pRuns->setModel(m_pRunModel);
    SetUpReportList(m_pRuns);
    m_pRuns->setFont(UiFont(13));

    m_pStepModel = new QStandardItemModel(this);
    m_pStepModel->setHorizontalHeaderLabels(
        {QStringLiteral("No."), QStringLiteral("Step"), tr("判定"), tr("コメント"), tr("開始"), tr("終了")});
    m_pSteps = new QTableView(this);
    m_pSteps->setModel(m_pStepModel);
    SetUpReportList(m_pSteps);
    m_pSteps->setFont(UiFont(13));
    m_pSteps->horizontalHeader()->setStretchLastSection(false);

    auto* pSplit = new QSplitter(Qt::Vertical, this);
    pSplit->addWidget(m_pRuns);
    pSplit->addWidget(m_pSteps);
    pSplit->setStretchFactor(0, 3);
    pSplit->setStretchFactor(1, 2);

    m_pReport = new QPushButton(tr("試験データ出力"), this);
    auto* pClose = new QPushButton(tr("閉じる"), this);
    auto* pButtons = new QHBoxLayout;
    pButtons->addWidget(m_pReport);
    pButtons->addStretch(1);
    pButtons->addWidget(pClose);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pFilters);
    pLayout->addWidget(pSplit, 1);
    pLayout->addLayout(pButtons);

    connect(m_pUseDates, &QCheckBox::toggled, this, [this](bool b) {
        m_pFrom->setEnabled(b);
        m_pUntil->setEnabled(b);
        Reload();
    });
    connect(m_pFrom, &QDateEdit::dateChanged, this, &CHistoryDlg::Reload);
    connect(m_pUntil, &QDateEdit::dateChanged, this, &CHistoryDlg::Reload);
    connect(m_pFile, &QLineEdit::textChanged, this, &CHistoryDlg::Reload);
    connect(m_pOutcome, &QComboBox::currentIndexChanged, this, &CHistoryDlg::Reload);
    connect(m_pReport, &QPushButton::clicked, this, &CHistoryDlg::OutputReport);
    connect(pClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pRuns->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CHistoryDlg::ShowSteps);
    Reload();
}

void CHistoryDlg::Reload() {
    JOURNAL_FILTER filter;
    if (m_pUseDates->isChecked()) {
        filter.m_msFrom = m_pFrom->date().startOfDay().toMSecsSinceEpoch();
        filter.m_msUntil = m_pUntil->date().addDays(1).startOfDay().toMSecsSinceEpoch();
    }
    filter.m_strFileText = m_pFile->text().trimmed();
    filter.m_nOutcome = m_pOutcome->currentData().toInt();
    m_runs = m_journal.ListRuns(filter);
    m_pRunModel->removeRows(0, m_pRunModel->rowCount());
    for (const JOURNAL_RUN& r : m_runs) {
        QString model;
        if (!CTorvexCntl::GetModelName(int32_t(r.m_ulModel), model)) model = QStringLiteral("TORVEX ???");
        m_pRunModel->appendRow({Cell(QString::number(r.m_nId), Qt::AlignRight), Cell(TimeText(r.m_msStarted)),
                                Cell(TimeText(r.m_msEnded)),
                                Cell(r.m_strFile.isEmpty() ? QString() : QFileInfo(r.m_strFile).fileName()),
                                Cell(RunTabName(r.m_nTab)), Cell(model),
                                Cell(OutcomeText(r.IsFinished() ? r.m_nOutcome : -1)),
                                Cell(QString::number(r.m_nStepsRun), Qt::AlignRight),
                                Cell(QString::number(r.m_nPassed), Qt::AlignRight),
                                Cell(QString::number(r.m_nFailed), Qt::AlignRight)});
        m_pRunModel->item(m_pRunModel->rowCount() - 1, 3)->setToolTip(r.m_strFile);
    }
    m_pRuns->resizeColumnsToContents();
    if (!m_runs.empty()) m_pRuns->selectRow(0);
    ShowSteps();
}

qint64 CHistoryDlg::SelectedRun() const {
    const int row = m_pRuns->currentIndex().row();
    return row >= 0 && row < int(m_runs.size()) ? m_runs[size_t(row)].m_nId : -1;
}

bool CHistoryDlg::SelectRun(qint64 nRun) {
    for (size_t i = 0; i < m_runs.size(); ++i)
        if (m_runs[i].m_nId == nRun) {
            m_pRuns->selectRow(int(i));
            return true;
        }
    return false;
}

void CHistoryDlg::ShowSteps() {
    m_pStepModel->removeRows(0, m_pStepModel->rowCount());
    const qint64 nRun = SelectedRun();
    m_pReport->setEnabled(nRun >= 0);
    if (nRun < 0) return;
    const std::optional<JOURNAL_RUN> run = m_journal.Run(nRun);
    if (!run) return;
    const std::vector<JOURNAL_STEP> touched = m_journal.Steps(nRun);
    std::vector<CSettingData> tests;
    if (!RebuildTests(*run, touched, tests)) return;
    std::map<std::pair<int, int>, const JOURNAL_STEP*> times;
    for (const JOURNAL_STEP& s : touched)
        times[{s.m_nEntry, s.m_nStep}] = &s;
    for (size_t e = 0; e < tests.size(); ++e) {
        std::vector<CExecData>& list = tests[e].m_listExec;
        for (size_t i = 0; i < list.size(); ++i) {
            const auto found = times.find({int(e), int(i)});
            m_pStepModel->appendRow(
                {Cell(run->m_nTab == 2 ? QString::number(e + 1) : QStringLiteral("-"), Qt::AlignRight),
                 Cell(QString::asprintf("Step %3d", int(i) + 1), Qt::AlignRight),
                 Cell(list[i].GetText(COL_JUDGE), Qt::AlignHCenter), Cell(list[i].m_strComment),
                 Cell(found == times.end() ? QString() : TimeText(found->second->m_msStarted)),
                 Cell(found == times.end() ? QString() : TimeText(found->second->m_msEnded))});
        }
    }
    m_pSteps->resizeColumnsToContents();
}

void CHistoryDlg::OutputReport() {
    const qint64 nRun = SelectedRun();
    if (nRun < 0) return;
    const std::optional<JOURNAL_RUN> run = m_journal.Run(nRun);
    const std::optional<CReportData> data = run ? ReportOfRun(*run, m_journal.Steps(nRun)) : std::nullopt;
    if (!data) {
        m_dialog.Message(tr("この試験の試験データを作成できません。"));
        return;
    }
    // As the step list's own report.
    SaveAndOpenReport(*data, m_dialog);
}

} // namespace torvex
