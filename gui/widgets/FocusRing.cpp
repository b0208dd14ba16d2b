#include "gui/widgets/FocusRing.h"

#include <QEvent>
#include <QPainter>

namespace torvex {

CFocusRing::CFocusRing(QWidget* pControl) : QWidget(pControl) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(pControl->rect());
    setVisible(pControl->hasFocus());
    pControl->installEventFilter(this);
}

void CFocusRing::Attach(QWidget* pControl) {
    new CFocusRing(pControl);
}

bool CFocusRing::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == parent()) {
        switch (pEvent->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            setVisible(parentWidget()->hasFocus());
            raise();
            break;
        case QEvent::Resize:
            setGeometry(parentWidget()->rect());
            break;
        default:
            break;
        }
    }
    return false;
}

void CFocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(palette().color(QPalette::Highlight), 2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
}

} // namespace torvex
