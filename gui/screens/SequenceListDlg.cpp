#include "gui/screens/SequenceListDlg.h"

#include "files/SequenceList.h"
#include "files/SequenceTableModel.h"
#include "files/TorvexDoc.h"
#include "gui/screens/SequenceDlg.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/GroupBox.h"
#include "gui/widgets/Pictures.h"
#include "gui/widgets/ReportList.h"
#include "run/SequenceListLogic.h"
#include "session/Session.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace torvex {

namespace {} // namespace

CSequenceListDlg::CSequenceListDlg(CSession& session, CStepListView& steps, CSequenceDlg& preview,
                                   QWidget* pParent)
    : QWidget(pParent), m_session(session), m_preview(preview), m_pLogic(&session.Sequence()) {
    setFont(UiFont(14));
    CTorvexDoc& doc = session.Doc();
    session.AttachSequenceViews(&steps, this);

    // Add method and LOAD.
    auto* pAdd = new CGroupBox(tr("追加方法"), this);
    auto* pAddRow = new QHBoxLayout;
    m_pAddMethod = new QButtonGroup(this);
    const QString methods[] = {tr("上書き"), tr("挿入"), tr("最後尾")};
    for (int m = ADD_OVERWRITE; m <= ADD_APPEND; ++m) {
        auto* b = new QRadioButton(methods[m], pAdd);
        m_pAddMethod->addButton(b, m);
        pAddRow->addWidget(b);
    }
    m_pAddMethod->button(doc.m_sequence.m_nAddMethod)->setChecked(true);
    m_pLoad = new QToolButton(pAdd);
    m_pLoad->setIcon(QIcon(LoadFolderPicture()));
    m_pLoad->setIconSize(LoadFolderPicture().size());
    m_pLoad->setToolTip(tr("LOAD"));
    m_pLoad->setAutoRaise(false);
    pAddRow->addSpacing(8);
    pAddRow->addWidget(m_pLoad);
    pAdd->Body()->addLayout(pAddRow);

    // Sequence file.
    auto* pFile = new CGroupBox(tr("シーケンスファイル"), this);
    auto* pFileRow = new QHBoxLayout;
    m_pRead = new QPushButton(tr("読み込み"), pFile);
    m_pSave = new QPushButton(tr("上書き保存"), pFile);
    m_pSaveAs = new QPushButton(tr("名前を付けて保存"), pFile);
    for (QPushButton* b : {m_pRead, m_pSave, m_pSaveAs}) {
        b->setAutoDefault(false);
        pFileRow->addWidget(b);
    }
    pFile->Body()->addLayout(pFileRow);

    // The list.
    m_pModel = new CSequenceTableModel(doc.m_sequence, this);
    m_pTable = new QTableView(this);
    m_pTable->setModel(m_pModel);
    SetUpReportList(m_pTable);
    m_pTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pTable->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pTable->installEventFilter(this);
    m_pTable->viewport()->installEventFilter(this);

    m_pUp = new QPushButton(QStringLiteral("↑"), this);
    m_pDown = new QPushButton(QStringLiteral("↓"), this);
    m_pRemove = new QPushButton(tr("削除"), this);
    m_pRemoveAll = new QPushButton(tr("全削除"), this);
    auto* pSide = new QVBoxLayout;
    for (QPushButton* b : {m_pUp, m_pDown, m_pRemove, m_pRemoveAll}) {
        b->setAutoDefault(false);
        pSide->addWidget(b);
    }
    pSide->addStretch(1);

    auto* pTop = new QHBoxLayout;
    pTop->addWidget(pAdd);
    pTop->addWidget(pFile);
    pTop->addStretch(1);
    auto* pBottom = new QHBoxLayout;
    pBottom->addWidget(m_pTable, 1);
    pBottom->addLayout(pSide);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addLayout(pTop);
    pLayout->addLayout(pBottom, 1);

    // Enter moves on through the controls instead of pressing a button.
    for (QWidget* w : findChildren<QWidget*>())
        if (w != m_pTable && w->focusPolicy() != Qt::NoFocus) w->installEventFilter(this);

    CSequenceListLogic& logic = *m_pLogic;
    connect(m_pAddMethod, &QButtonGroup::idClicked, this, [&logic](int id) { logic.SetAddMethod(id); });
    connect(m_pLoad, &QToolButton::clicked, this, [&logic] { logic.OnLoad(); });
    connect(m_pRead, &QPushButton::clicked, this, [&logic] { logic.OnReadSequence(); });
    connect(m_pSave, &QPushButton::clicked, this, [&logic] { logic.OnSave(); });
    connect(m_pSaveAs, &QPushButton::clicked, this, [&logic] { logic.OnSaveAs(); });
    connect(m_pUp, &QPushButton::clicked, this, [&logic] { logic.OnUp(); });
    connect(m_pDown, &QPushButton::clicked, this, [&logic] { logic.OnDown(); });
    connect(m_pRemove, &QPushButton::clicked, this, [&logic] { logic.OnRemove(); });
    connect(m_pRemoveAll, &QPushButton::clicked, this, [&logic] { logic.OnRemoveAll(); });
}

CSequenceListDlg::~CSequenceListDlg() {
    m_session.AttachSequenceViews(nullptr, nullptr);
}

QRadioButton* CSequenceListDlg::AddMethodButton(int nMethod) const {
    return qobject_cast<QRadioButton*>(m_pAddMethod->button(nMethod));
}

void CSequenceListDlg::LockControls(bool bEnable) {
    for (QAbstractButton* b : m_pAddMethod->buttons())
        b->setEnabled(bEnable);
    for (QWidget* w :
         {static_cast<QWidget*>(m_pLoad), static_cast<QWidget*>(m_pRead), static_cast<QWidget*>(m_pSave),
          static_cast<QWidget*>(m_pSaveAs), static_cast<QWidget*>(m_pUp), static_cast<QWidget*>(m_pDown),
          static_cast<QWidget*>(m_pRemove), static_cast<QWidget*>(m_pRemoveAll)})
        w->setEnabled(bEnable);
}

// ---------------------------------------------------------------- CSequenceListView

void CSequenceListDlg::RefillRows() {
    m_pModel->Refill();
}

void CSequenceListDlg::RefreshJudgment(int nRow) {
    m_pModel->RefreshJudgment(nRow);
}

void CSequenceListDlg::SelectRow(int nRow) {
    if (nRow < 0 || nRow >= m_pModel->rowCount()) {
        m_pTable->clearSelection();
        return;
    }
    m_pTable->selectRow(nRow);
    m_pTable->scrollTo(m_pModel->index(nRow, 0));
}

void CSequenceListDlg::FocusList() {
    m_pTable->setFocus();
}

void CSequenceListDlg::ShowPreview(const CSettingData* pEntry) {
    m_preview.ShowEntry(pEntry);
}

void CSequenceListDlg::SetWindowTitle(const QString& strTitle) {
    window()->setWindowTitle(strTitle);
}

// ---------------------------------------------------------------- input

bool CSequenceListDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const QEvent::Type t = pEvent->type();
    const bool bLocked = !m_session.Engine().ScreensEnabled();
    if (pWatched == m_pTable->viewport()) {
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) {
            // The logic selects the row; a running test owns the list.
            auto* m = static_cast<QMouseEvent*>(pEvent);
            if (!bLocked && m->button() == Qt::LeftButton) {
                m_pTable->setFocus();
                m_pLogic->OnSelect(m_pTable->indexAt(m->position().toPoint()).row());
            }
            return true;
        }
        if (t == QEvent::MouseButtonRelease || t == QEvent::MouseMove) return true;
    } else if (t == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(pEvent);
        if (k->key() == Qt::Key_Escape) return true;
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        if (pWatched == m_pTable && (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down)) {
            m_pLogic->OnArrow(k->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
        if (pWatched == m_pTable && k->modifiers() == Qt::NoModifier &&
            (k->key() == Qt::Key_Home || k->key() == Qt::Key_End || k->key() == Qt::Key_PageUp ||
             k->key() == Qt::Key_PageDown))
            return true; // only Up and Down move the current entry
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CSequenceListDlg::keyPressEvent(QKeyEvent* pEvent) {
    if (pEvent->key() == Qt::Key_Escape) return pEvent->accept();
    QWidget::keyPressEvent(pEvent);
}

void CSequenceListDlg::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    FitColumns();
}

void CSequenceListDlg::FitColumns() {
    // Shares of the width less a scroll bar, so a scroll bar never hides a column.
    const int nWidth =
        m_pTable->width() - 2 * m_pTable->frameWidth() - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int c = 0; c < CSequenceTableModel::kColumns; ++c)
        m_pTable->setColumnWidth(c, std::max(30, nWidth * CSequenceTableModel::ColumnShare(c) / 100));
}

} // namespace torvex
