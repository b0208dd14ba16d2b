#include "gui/config/NoticeCalibrationDlg.h"

#include "gui/widgets/ThemeColours.h"

#include "gui/widgets/Fonts.h"
#include "config/CalibrationSetting.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace torvex {

CNoticeCalibrationDlg::CNoticeCalibrationDlg(CCalibrationSetting& rCalib, const QDateTime& now,
                                             QWidget* pParent)
    : QDialog(pParent), m_rCalib(rCalib) {
    const CALIBRATION_NOTICE_TEXTS texts = rCalib.NoticeTexts(now);
    setWindowTitle(texts.m_strTitle);
    setFont(UiFont(14));

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(20, 16, 20, 12);
    pLayout->setSpacing(10);
    auto addLabel = [&](const QString& strText, int nPixels) {
        auto* pLabel = new QLabel(strText, this);
        pLabel->setFont(UiFont(nPixels));
        pLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        pLayout->addWidget(pLabel);
        return pLabel;
    };
    m_pFirstLine = addLabel(texts.m_strFirstLine, 16);
    // The overdue text starts with a line break of its own; the layout already
    // separates it from the first line.
    m_pOverdueLine =
        addLabel(texts.m_strOverdueLine.mid(texts.m_strOverdueLine.startsWith('\n') ? 1 : 0), 14);
    QPalette pal = m_pOverdueLine->palette();
    pal.setColor(QPalette::WindowText, WarningTextColour(pal));
    m_pOverdueLine->setPalette(pal);
    m_pOverdueLine->setVisible(!texts.m_strOverdueLine.isEmpty());
    m_pInstrument = addLabel(texts.m_strInstrument, 16);
    m_pContact = addLabel(texts.m_strContact, 14);

    m_pDoNotShowAgain = new QCheckBox(texts.m_strCheckBox, this);
    m_pDoNotShowAgain->setFont(UiFont(16));
    pLayout->addWidget(m_pDoNotShowAgain);

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    pLayout->addWidget(pButtons);
}

void CNoticeCalibrationDlg::done(int nResult) {
    // OK, Esc and the close box all come here.
    if (!m_bClosed && m_pDoNotShowAgain->isChecked()) m_rCalib.ApplyDoNotShowAgain();
    m_bClosed = true;
    QDialog::done(nResult);
}

} // namespace torvex
