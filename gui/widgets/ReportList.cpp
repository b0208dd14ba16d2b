#include "gui/widgets/ReportList.h"

#include "gui/widgets/Fonts.h"
#include "gui/widgets/ThemeColours.h"

#include <QHeaderView>
#include <QTableView>

namespace torvex {

void SetUpReportList(QTableView* pTable) {
    pTable->setFont(UiFont(13));
    pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pTable->setShowGrid(true);
    pTable->setWordWrap(false);
    pTable->setTextElideMode(Qt::ElideRight);
    pTable->verticalHeader()->hide();
    pTable->verticalHeader()->setDefaultSectionSize(QFontMetrics(pTable->font()).height() + 6);
    pTable->horizontalHeader()->setSectionsClickable(false);
    pTable->horizontalHeader()->setFont(UiFont(13));
    QPalette pal = pTable->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(g, QPalette::Highlight, ListSelectionColour(pal));
        pal.setColor(g, QPalette::HighlightedText, pal.color(g, QPalette::Text));
    }
    pTable->setPalette(pal);
}

} // namespace torvex
