#include "gui/results/JudgeDlg.h"

#include "gui/widgets/Fonts.h"
#include "model/CodeTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace torvex {

CJudgeDlg::CJudgeDlg(int32_t nJudge, const QString& strComment, QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(tr("判定"));
    setFont(UiFont(14));
    m_pJudge = new QComboBox(this);
    for (const CODE_TABLE_ENTRY& e : JudgeTable())
        m_pJudge->addItem(CodeText(e), e.nCode);
    m_pJudge->setCurrentIndex(IndexOfCode(JudgeTable(), nJudge));
    m_pComment = new QPlainTextEdit(strComment, this); // Enter starts a new line
    m_pComment->setTabChangesFocus(true);
    m_pComment->setMinimumSize(360, 120);

    auto* pButtons = new QDialogButtonBox(this);
    pButtons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    pButtons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(new QLabel(tr("判定"), this), 0, 0);
    pGrid->addWidget(m_pJudge, 0, 1, Qt::AlignLeft);
    pGrid->addWidget(new QLabel(tr("コメント"), this), 1, 0, Qt::AlignTop);
    pGrid->addWidget(m_pComment, 1, 1);
    pGrid->addWidget(pButtons, 2, 0, 1, 2);
}

int32_t CJudgeDlg::Judge() const {
    return m_pJudge->currentData().toInt();
}

QString CJudgeDlg::Comment() const {
    return m_pComment->toPlainText();
}

} // namespace torvex
