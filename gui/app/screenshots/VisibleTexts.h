#pragma once

#include <QStringList>

class QWidget;

namespace torvex {

// Every text a person can see on a widget and its shown children: titles,
// captions, button and menu texts, tooltips, status tips, accessible names,
// list headers and cells, choice lists. Empty texts are left out.
QStringList VisibleTexts(QWidget* pRoot);

} // namespace torvex
