#include "gui/widgets/GroupBox.h"

#include <QLabel>
#include <QVBoxLayout>

namespace torvex {

CGroupBox::CGroupBox(const QString& strTitle, QWidget* pParent) : QFrame(pParent) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(8, 6, 8, 8);
    pLayout->setSpacing(6);

    auto* pTitle = new QLabel(strTitle, this);
    pTitle->setObjectName(QStringLiteral("groupTitle"));
    pTitle->setAutoFillBackground(true);
    QPalette pal = pTitle->palette();
    pal.setColor(QPalette::Window, CaptionColor());
    pal.setColor(QPalette::WindowText, Qt::black);
    pTitle->setPalette(pal);
    pTitle->setFrameShape(QFrame::Box);
    pTitle->setMargin(3);
    pTitle->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    pLayout->addWidget(pTitle);

    m_pBody = new QVBoxLayout;
    m_pBody->setSpacing(5);
    pLayout->addLayout(m_pBody);
}

} // namespace torvex
