#include "gui/screens/SpinButtons.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace torvex {

CSpinButtons::CSpinButtons(QWidget* pParent) : QWidget(pParent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    setFocusPolicy(Qt::NoFocus);
}

void CSpinButtons::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int nHalf = height() / 2;
    for (int i = 0; i < 2; ++i) {
        QStyleOption opt;
        opt.initFrom(this);
        opt.rect = QRect(0, i * nHalf, width(), i == 0 ? nHalf : height() - nHalf);
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &painter, this);
        opt.rect.adjust(3, 2, -3, -2);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &opt,
                               &painter, this);
    }
}

void CSpinButtons::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || !isEnabled()) return;
    const Qt::KeyboardModifiers mods = pEvent->modifiers();
    emit stepped(pEvent->position().y() < height() / 2.0, mods & Qt::ControlModifier,
                 mods & Qt::ShiftModifier);
}

} // namespace torvex
