#pragma once

#include <QStringList>

class QStackedWidget;
class QTabBar;
class QWidget;

namespace torvex {

// The face of a type editor (value types, coupling types): a tab bar with a
// tab per type over a framed stack that holds a page per type, laid out to
// fill pOwner. The owner adds its pages to the stack in the order of the tabs.
struct TYPE_TABS {
    QTabBar* m_pTabs;
    QStackedWidget* m_pStack;
};

TYPE_TABS MakeTypeTabs(QWidget* pOwner, const QStringList& captions);

} // namespace torvex
