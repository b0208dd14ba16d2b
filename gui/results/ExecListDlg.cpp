#include "gui/results/ExecListDlg.h"

#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "gui/results/JudgeDlg.h"
#include "gui/results/PlanChartWidget.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/ReportList.h"
#include "model/CodeTable.h"
#include "model/OperatorDialog.h"
#include "model/StepExpansion.h"
#include "results/JudgmentStore.h"
#include "run/RunEngine.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace torvex {

namespace {

struct COLUMN {
    const char* pszCaption;
    Qt::Alignment align;
    int nShare; // percent of the list's width less a scroll bar
    int nTextColumn;
};

const COLUMN kColumnDefs[CStepTableModel::kColumns] = {
    {"Step", Qt::AlignRight, 11, 0},
    {QT_TRANSLATE_NOOP("torvex::CExecListDlg", "判定"), Qt::AlignHCenter, 10, COL_JUDGE},
    {QT_TRANSLATE_NOOP("torvex::CExecListDlg", "電圧 [V]"), Qt::AlignRight, 11, COL_VOLT},
    {QT_TRANSLATE_NOOP("torvex::CExecListDlg", "極性"), Qt::AlignHCenter, 8, COL_POLA},
    {QT_TRANSLATE_NOOP("torvex::CExecListDlg", "周波数 [kHz]"), Qt::AlignHCenter, 16, COL_FREQ},
    {QT_TRANSLATE_NOOP("torvex::CExecListDlg", "バースト期間 [ms]"), Qt::AlignHCenter, 20, COL_BURST_DURA},
    {QT_TRANSLATE_NOOP("torvex::CExecListDlg", "印加相"), Qt::AlignHCenter, 20, COL_INJ_LINE},
    {QT_TRANSLATE_NOOP("torvex::CExecListDlg", "位相角 [°]"), Qt::AlignRight, 15, COL_ANGLE},
    {QT_TRANSLATE_NOOP("torvex::CExecListDlg", "コメント"), Qt::AlignLeft, 14, COL_COMMENT},
};

} // namespace

// ---------------------------------------------------------------- model

void CStepTableModel::SetSteps(std::vector<CExecData>* pSteps) {
    m_pSteps = pSteps;
    SyncRows(pSteps ? int(pSteps->size()) : 0);
}

void CStepTableModel::RefreshRow(int nRow) {
    if (nRow >= 0 && nRow < rowCount()) emit dataChanged(index(nRow, 0), index(nRow, kColumns - 1));
}

QString CStepTableModel::StepLabel(int nStep) {
    return QString::asprintf("Step %3d", nStep);
}

QVariant CStepTableModel::data(const QModelIndex& idx, int role) const {
    // The list may have changed under the rows shown until SetSteps is called.
    if (!m_pSteps || !idx.isValid() || idx.row() >= int(m_pSteps->size())) return {};
    if (role == Qt::TextAlignmentRole) return int(kColumnDefs[idx.column()].align | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    if (idx.column() == 0) return StepLabel(idx.row() + 1);
    return (*m_pSteps)[size_t(idx.row())].GetText(kColumnDefs[idx.column()].nTextColumn);
}

QVariant CStepTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
    if (role == Qt::DisplayRole)
        return QCoreApplication::translate("torvex::CExecListDlg", kColumnDefs[section].pszCaption);
    if (role == Qt::TextAlignmentRole) return int(kColumnDefs[section].align | Qt::AlignVCenter);
    return {};
}

// ---------------------------------------------------------------- panel

CExecListDlg::CExecListDlg(CTorvexDoc& doc, CRunEngine& engine, CJudgmentStore& judgments,
                           COperatorDialog& dialog, STEP_LIST_HOST host, QWidget* pParent)
    : QWidget(pParent), m_doc(doc), m_engine(engine), m_judgments(judgments), m_dialog(dialog),
      m_host(std::move(host)) {
    const QFont top = UiFont(14);
    m_pReport = new QPushButton(tr("試験データ出力"), this);
    m_pJudge = new QComboBox(this);
    for (const CODE_TABLE_ENTRY& e : JudgeTable())
        m_pJudge->addItem(CodeText(e), e.nCode);
    m_pBatch = new QPushButton(tr("判定一括変更"), this);
    m_pDeleteComments = new QPushButton(tr("コメント全削除"), this);
    for (QWidget* w : {static_cast<QWidget*>(m_pReport), static_cast<QWidget*>(m_pJudge),
                       static_cast<QWidget*>(m_pBatch), static_cast<QWidget*>(m_pDeleteComments)})
        w->setFont(top);

    m_pModel = new CStepTableModel(this);
    m_pTable = new QTableView(this);
    m_pTable->setModel(m_pModel);
    SetUpReportList(m_pTable);
    m_pTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pTable->installEventFilter(this);
    m_pTable->viewport()->installEventFilter(this);

    m_pChart = new CPlanChartWidget(m_pModel, m_pTable->selectionModel(), this);

    m_pLimit = new QLabel(this);
    m_pLimit->setFont(UiFont(16));
    m_pLimit->setAlignment(Qt::AlignCenter);
    m_pLimit->setWordWrap(true);
    m_pLimit->setText(
        tr("ステップ数が1000を超えています。\nステップ数が1000以下となるように設定を変更してください。"));
    m_pLimit->hide();

    auto* pTop = new QHBoxLayout;
    pTop->addWidget(m_pReport);
    pTop->addStretch(1);
    pTop->addWidget(m_pJudge);
    pTop->addWidget(m_pBatch);
    pTop->addWidget(m_pDeleteComments);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addLayout(pTop);
    pLayout->addWidget(m_pTable, 1);
    pLayout->addWidget(m_pChart);
    pLayout->addWidget(m_pLimit, 1);

    connect(m_pReport, &QPushButton::clicked, this, [this] {
        if (m_host.fnReport) m_host.fnReport();
    });
    connect(m_pBatch, &QPushButton::clicked, this, &CExecListDlg::OnBatchJudge);
    connect(m_pDeleteComments, &QPushButton::clicked, this, &CExecListDlg::OnDeleteComments);
    connect(m_pTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& cur, const QModelIndex&) { OnCurrentRowChanged(cur.row()); });
    // A click on the plan picks the step to start from, as a click in the list does.
    connect(m_pChart, &CPlanChartWidget::stepClicked, this, [this](int nStep) {
        if (m_host.fnScreensEnabled && !m_host.fnScreensEnabled()) return;
        SelectRow(nStep);
        RefreshTimes();
    });
    connect(m_pTable, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { OpenJudgeDialog(i.row()); });
}

std::vector<CExecData>* CExecListDlg::ActiveSteps() const {
    return m_judgments.Steps(m_doc.Tab());
}

void CExecListDlg::FillList(const std::vector<CExecData>& steps) {
    // The list shown is always one of the document's own step lists.
    m_pModel->SetSteps(const_cast<std::vector<CExecData>*>(&steps));
}

void CExecListDlg::RefreshRow(int nRow) {
    m_pModel->RefreshRow(nRow);
}

void CExecListDlg::SelectRow(int nRow) {
    if (nRow < 0 || nRow >= m_pModel->rowCount()) return;
    m_pTable->setFocus();
    m_pTable->selectRow(nRow);
    m_pTable->scrollTo(m_pModel->index(nRow, 0));
}

void CExecListDlg::ShowStepLimit(int64_t nCount) {
    m_bWithinLimit = nCount <= kMaxSteps;
    if (!m_bWithinLimit)
        m_pLimit->setText(tr("現在のステップ数は%1ステップです。\n"
                             "ステップ数が%2以下となるように設定を変更してください。")
                              .arg(int(std::min<int64_t>(nCount, INT32_MAX)))
                              .arg(int(kMaxSteps)));
    m_pLimit->setVisible(!m_bWithinLimit);
    m_pTable->setVisible(m_bWithinLimit);
    m_pChart->setVisible(m_bWithinLimit);
    for (QWidget* w : {static_cast<QWidget*>(m_pJudge), static_cast<QWidget*>(m_pBatch),
                       static_cast<QWidget*>(m_pDeleteComments)})
        w->setEnabled(m_bWithinLimit && m_bUnlocked);
    UpdateReportButton();
}

void CExecListDlg::LockControls(bool bEnable) {
    m_bUnlocked = bEnable;
    for (QWidget* w : {static_cast<QWidget*>(m_pJudge), static_cast<QWidget*>(m_pBatch),
                       static_cast<QWidget*>(m_pDeleteComments)})
        w->setEnabled(bEnable && m_bWithinLimit);
    UpdateReportButton();
}

void CExecListDlg::UpdateReportButton() {
    m_pReport->setEnabled(m_bUnlocked && m_bWithinLimit);
}

bool CExecListDlg::IsReportEnabled() const {
    return m_pReport->isEnabled();
}

void CExecListDlg::OnCurrentRowChanged(int nRow) {
    if (m_engine.State() != RunState::Idle) return; // the engine moves the current step while a test runs
    m_doc.m_nCurStep = nRow >= 0 ? nRow : 0;
}

void CExecListDlg::RefreshTimes() {
    if (m_engine.State() == RunState::Running) return;
    switch (m_doc.Tab()) {
    case TAB_SEQUENCE:
        m_engine.ShowSequenceTimes(m_doc.m_sequence.m_nCurEntry);
        break;
    case TAB_STANDARD:
        m_engine.ShowConditionTimes(m_doc.m_settingStandard.m_listExec);
        break;
    default:
        m_engine.ShowConditionTimes(m_doc.m_settingManual.m_listExec);
        break;
    }
}

void CExecListDlg::OpenJudgeDialog(int nRow) {
    if (m_engine.State() == RunState::Running || (m_host.fnScreensEnabled && !m_host.fnScreensEnabled()))
        return;
    std::vector<CExecData>* steps = ActiveSteps();
    if (!steps || nRow < 0 || nRow >= int(steps->size())) return;
    const CExecData& step = (*steps)[size_t(nRow)];
    CJudgeDlg dlg(step.m_nJudge, step.m_strComment, this);
    if (dlg.exec() == QDialog::Accepted) {
        const bool bEntered = m_judgments.SetStep(m_doc.Tab(), nRow, dlg.Judge(), dlg.Comment());
        if (bEntered && m_host.fnJudgmentEntered) m_host.fnJudgmentEntered();
        m_pModel->RefreshRow(nRow);
        if (m_doc.Tab() == TAB_SEQUENCE && m_host.fnEntryJudgment)
            m_host.fnEntryJudgment(m_doc.m_sequence.m_nCurEntry);
    }
    RefreshTimes();
}

void CExecListDlg::OnBatchJudge() {
    std::vector<CExecData>* steps = ActiveSteps();
    if (!steps) return;
    if (!m_dialog.AskOkCancel(tr("判定をすべて書き換えます。\nよろしいですか？"))) return;
    m_judgments.SetAllJudgments(m_doc.Tab(), m_pJudge->currentData().toInt());
    FillList(*steps);
    if (m_host.fnJudgmentEntered) m_host.fnJudgmentEntered();
    if (m_doc.Tab() == TAB_SEQUENCE && m_host.fnEntryJudgment)
        m_host.fnEntryJudgment(m_doc.m_sequence.m_nCurEntry);
}

void CExecListDlg::OnDeleteComments() {
    std::vector<CExecData>* steps = ActiveSteps();
    if (!steps) return;
    if (!m_dialog.AskOkCancel(tr("コメントをすべて削除します。\nよろしいですか？"))) return;
    m_judgments.DeleteAllComments(m_doc.Tab());
    FillList(*steps);
}

bool CExecListDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const QEvent::Type t = pEvent->type();
    if (pWatched == m_pTable->viewport()) {
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick ||
            t == QEvent::MouseButtonRelease) {
            if (m_host.fnScreensEnabled && !m_host.fnScreensEnabled())
                return true; // a running test owns the list
            if (t == QEvent::MouseButtonRelease)
                QMetaObject::invokeMethod(
                    this, [this] { RefreshTimes(); }, Qt::QueuedConnection);
        }
    } else if (pWatched == m_pTable && t == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(pEvent);
        const bool bRunning = m_engine.State() == RunState::Running;
        if (k->key() == Qt::Key_Escape) return true;
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) ||
            (bRunning && k->key() == Qt::Key_Tab && !(k->modifiers() & Qt::ControlModifier))) {
            if (bRunning) {
                if (m_host.fnFocusLineSwitch) m_host.fnFocusLineSwitch();
            } else {
                focusNextChild();
            }
            return true;
        }
        if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down)
            QMetaObject::invokeMethod(
                this, [this] { RefreshTimes(); }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CExecListDlg::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    FitColumns();
}

void CExecListDlg::FitColumns() {
    // Shares of the width less a scroll bar: together wider than the list, so
    // it scrolls sideways. A narrow list keeps every header whole and scrolls
    // further instead of cutting them.
    const int nWidth = m_pTable->width() - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2;
    const QFontMetrics header(m_pTable->horizontalHeader()->font());
    // The step column holds the longest label there can be whole.
    const int nStepLabel =
        QFontMetrics(m_pTable->font()).horizontalAdvance(CStepTableModel::StepLabel(int(kMaxSteps))) + 12;
    for (int c = 0; c < CStepTableModel::kColumns; ++c) {
        const int nHeader =
            header.horizontalAdvance(m_pTable->model()->headerData(c, Qt::Horizontal).toString()) + 12;
        const int nLeast = std::max(c == 0 ? nStepLabel : 30, nHeader);
        m_pTable->setColumnWidth(c, std::max(nLeast, nWidth * kColumnDefs[c].nShare / 100));
    }
}

} // namespace torvex
