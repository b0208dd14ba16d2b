#include "gui/screens/ConditionGroup.h"

#include "gui/widgets/Fonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace torvex {

CConditionGroup::CConditionGroup(const QString& strTitle, GROUP_PICTURE ePicture, int nTitleWidth,
                                 QWidget* pParent, bool bVerticalBody, bool bPictureBeside)
    : QFrame(pParent) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(1, 1, 4, 1);
    pLayout->setSpacing(6);

    auto* pArea = new QFrame(this);
    pArea->setObjectName(QStringLiteral("groupTitleArea"));
    pArea->setAutoFillBackground(true);
    QPalette pal = pArea->palette();
    pal.setColor(QPalette::Window, QColor(219, 219, 255));
    pal.setColor(QPalette::WindowText, Qt::black);
    pArea->setPalette(pal);
    pArea->setFixedWidth(nTitleWidth);
    QBoxLayout* pAreaLayout = bPictureBeside ? static_cast<QBoxLayout*>(new QHBoxLayout(pArea))
                                             : static_cast<QBoxLayout*>(new QVBoxLayout(pArea));
    pAreaLayout->setContentsMargins(3, 3, 3, 3);
    pAreaLayout->setSpacing(2);
    auto* pPicture = new QLabel(pArea);
    pPicture->setPixmap(GroupPicture(ePicture));
    pPicture->setAlignment(bPictureBeside ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignHCenter | Qt::AlignTop);
    m_pTitle = new QLabel(strTitle, pArea);
    m_pTitle->setFont(UiFont(16));
    m_pTitle->setWordWrap(true);
    m_pTitle->setAlignment(bPictureBeside ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignHCenter | Qt::AlignTop);
    pAreaLayout->addWidget(pPicture);
    pAreaLayout->addWidget(m_pTitle);
    pAreaLayout->addStretch();
    pLayout->addWidget(pArea);

    if (bVerticalBody)
        m_pBody = new QVBoxLayout;
    else
        m_pBody = new QHBoxLayout;
    m_pBody->setContentsMargins(0, 3, 0, 3);
    m_pBody->setSpacing(4);
    pLayout->addLayout(m_pBody, 1);
}

} // namespace torvex
