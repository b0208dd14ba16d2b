#include "gui/app/screenshots/VisibleTexts.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTextEdit>
#include <QToolBar>
#include <algorithm>

namespace torvex {

namespace {

// A list shows at most this many rows at once; its cells beyond are alike.
const int kRowsLooked = 200;

void Add(QStringList& texts, const QString& text) {
    if (!text.trimmed().isEmpty()) texts << text;
}

void AddAction(QStringList& texts, QAction* pAction) {
    if (!pAction || pAction->isSeparator()) return;
    Add(texts, pAction->text());
    Add(texts, pAction->iconText());
    Add(texts, pAction->statusTip());
    if (pAction->toolTip() != pAction->text()) Add(texts, pAction->toolTip());
    if (QMenu* pMenu = pAction->menu()) {
        Add(texts, pMenu->title());
        for (QAction* pSub : pMenu->actions())
            AddAction(texts, pSub);
    }
}

void AddModel(QStringList& texts, const QAbstractItemModel* pModel) {
    if (!pModel) return;
    for (int c = 0; c < pModel->columnCount(); ++c)
        Add(texts, pModel->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    const int nRows = std::min(pModel->rowCount(), kRowsLooked);
    for (int r = 0; r < nRows; ++r)
        for (int c = 0; c < pModel->columnCount(); ++c) {
            const QModelIndex index = pModel->index(r, c);
            Add(texts, pModel->data(index, Qt::DisplayRole).toString());
            Add(texts, pModel->data(index, Qt::ToolTipRole).toString());
        }
}

void AddWidget(QStringList& texts, QWidget* w) {
    if (w->isWindow()) Add(texts, w->windowTitle());
    Add(texts, w->toolTip());
    Add(texts, w->statusTip());
    Add(texts, w->whatsThis());
    Add(texts, w->accessibleName());
    Add(texts, w->accessibleDescription());
    if (auto* p = qobject_cast<QLabel*>(w)) Add(texts, p->text());
    if (auto* p = qobject_cast<QAbstractButton*>(w)) Add(texts, p->text());
    if (auto* p = qobject_cast<QGroupBox*>(w)) Add(texts, p->title());
    if (auto* p = qobject_cast<QLineEdit*>(w)) {
        Add(texts, p->text());
        Add(texts, p->placeholderText());
    }
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        Add(texts, p->toPlainText());
        Add(texts, p->placeholderText());
    }
    if (auto* p = qobject_cast<QTextEdit*>(w)) Add(texts, p->toPlainText());
    if (auto* p = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < p->count(); ++i)
            Add(texts, p->itemText(i));
    if (auto* p = qobject_cast<QTabBar*>(w))
        for (int i = 0; i < p->count(); ++i) {
            Add(texts, p->tabText(i));
            Add(texts, p->tabToolTip(i));
        }
    if (auto* p = qobject_cast<QProgressBar*>(w)) Add(texts, p->text());
    if (auto* p = qobject_cast<QAbstractItemView*>(w)) AddModel(texts, p->model());
    if (qobject_cast<QMenuBar*>(w) || qobject_cast<QToolBar*>(w))
        for (QAction* pAction : w->actions())
            AddAction(texts, pAction);
}

} // namespace

QStringList VisibleTexts(QWidget* pRoot) {
    QStringList texts;
    AddWidget(texts, pRoot);
    for (QWidget* w : pRoot->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(pRoot)) continue;
        // A combo box's popup list is a child view of the combo box's own items.
        if (qobject_cast<QComboBox*>(w->parentWidget())) continue;
        AddWidget(texts, w);
    }
    texts.removeDuplicates();
    return texts;
}

} // namespace torvex
