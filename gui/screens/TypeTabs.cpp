#include "gui/screens/TypeTabs.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace torvex {

TYPE_TABS MakeTypeTabs(QWidget* pOwner, const QStringList& captions) {
    auto* pLayout = new QVBoxLayout(pOwner);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    auto* pTabs = new QTabBar(pOwner);
    pTabs->setExpanding(false);
    pTabs->setFocusPolicy(Qt::ClickFocus); // a click takes the focus: a typed value is applied first
    for (const QString& strCaption : captions)
        pTabs->addTab(strCaption);
    auto* pStack = new QStackedWidget(pOwner);
    pStack->setFrameShape(QFrame::StyledPanel);
    pLayout->addWidget(pTabs);
    pLayout->addWidget(pStack);
    return {pTabs, pStack};
}

} // namespace torvex
