#include "gui/widgets/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>

namespace torvex {

namespace {

QPixmap Blank(int nWidth, int nHeight) {
    QPixmap pixmap(nWidth, nHeight);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void Prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

// A rounded button face behind the START and STOP symbols.
void DrawButtonFace(QPainter& painter, const QRectF& rect) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, QColor(250, 250, 250));
    gradient.setColorAt(1, QColor(205, 205, 210));
    painter.setPen(QPen(QColor(120, 120, 130), 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}

// The high-voltage warning triangle with its bolt, inside rect.
void DrawWarningTriangle(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& ink) {
    QPolygonF triangle;
    triangle << QPointF(rect.center().x(), rect.top()) << rect.bottomRight() << rect.bottomLeft();
    painter.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPolygon(triangle);
    const qreal w = rect.width();
    const qreal h = rect.height();
    const qreal x = rect.left();
    const qreal y = rect.top();
    QPolygonF bolt;
    bolt << QPointF(x + w * 0.54, y + h * 0.30) << QPointF(x + w * 0.40, y + h * 0.62)
         << QPointF(x + w * 0.52, y + h * 0.62) << QPointF(x + w * 0.44, y + h * 0.90)
         << QPointF(x + w * 0.64, y + h * 0.54) << QPointF(x + w * 0.52, y + h * 0.54)
         << QPointF(x + w * 0.60, y + h * 0.30);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPolygon(bolt);
}

void DrawBolt(QPainter& painter, const QRectF& r, const QColor& color) {
    QPolygonF bolt;
    bolt << QPointF(r.left() + r.width() * 0.62, r.top())
         << QPointF(r.left() + r.width() * 0.18, r.top() + r.height() * 0.58)
         << QPointF(r.left() + r.width() * 0.48, r.top() + r.height() * 0.58)
         << QPointF(r.left() + r.width() * 0.36, r.bottom())
         << QPointF(r.left() + r.width() * 0.84, r.top() + r.height() * 0.40)
         << QPointF(r.left() + r.width() * 0.54, r.top() + r.height() * 0.40)
         << QPointF(r.left() + r.width() * 0.70, r.top());
    painter.setPen(QPen(color.darker(150), 1));
    painter.setBrush(color);
    painter.drawPolygon(bolt);
}

} // namespace

QPixmap StartPlayPicture() {
    QPixmap pixmap = Blank(32, 32);
    QPainter painter(&pixmap);
    Prepare(painter);
    DrawButtonFace(painter, QRectF(0, 0, 32, 32));
    QPolygonF triangle;
    triangle << QPointF(11, 7) << QPointF(25, 16) << QPointF(11, 25);
    painter.setPen(QPen(QColor(0, 110, 0), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(30, 190, 40));
    painter.drawPolygon(triangle);
    return pixmap;
}

QPixmap StartPausePicture() {
    QPixmap pixmap = Blank(32, 32);
    QPainter painter(&pixmap);
    Prepare(painter);
    DrawButtonFace(painter, QRectF(0, 0, 32, 32));
    painter.setPen(QPen(QColor(150, 120, 0), 1));
    painter.setBrush(QColor(250, 205, 20));
    painter.drawRoundedRect(QRectF(9, 7, 5, 18), 1, 1);
    painter.drawRoundedRect(QRectF(18, 7, 5, 18), 1, 1);
    return pixmap;
}

QPixmap StopPicture() {
    QPixmap pixmap = Blank(32, 32);
    QPainter painter(&pixmap);
    Prepare(painter);
    DrawButtonFace(painter, QRectF(0, 0, 32, 32));
    painter.setPen(QPen(QColor(130, 0, 0), 1));
    painter.setBrush(QColor(215, 30, 30));
    painter.drawRoundedRect(QRectF(9, 9, 14, 14), 1.5, 1.5);
    return pixmap;
}

QPixmap LinePicture(bool bLeverUp, bool bBright) {
    QPixmap pixmap = Blank(48, 48);
    QPainter painter(&pixmap);
    Prepare(painter);
    const QColor body = bBright ? QColor(40, 200, 60) : QColor(150, 170, 150);
    const QColor edge = bBright ? QColor(0, 110, 20) : QColor(110, 120, 110);
    const QColor lever = bBright ? QColor(245, 245, 245) : QColor(205, 205, 205);

    // Switch plate and the slot the lever moves in.
    painter.setPen(QPen(edge, 1.5));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(10, 2, 28, 44), 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(edge.darker(130));
    painter.drawRoundedRect(QRectF(20, 10, 8, 28), 3, 3);

    // The lever stands out of the slot toward its position.
    const qreal knobY = bLeverUp ? 9 : 39;
    painter.setPen(QPen(QColor(90, 90, 90), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(24, 24), QPointF(24, knobY));
    QRadialGradient knob(QPointF(22, knobY - 2), 7);
    knob.setColorAt(0, Qt::white);
    knob.setColorAt(1, lever.darker(125));
    painter.setPen(QPen(QColor(80, 80, 80), 1));
    painter.setBrush(knob);
    painter.drawEllipse(QPointF(24, knobY), 6, 6);
    return pixmap;
}

QPixmap LampPicture(bool bLit) {
    QPixmap pixmap = Blank(52, 51);
    QPainter painter(&pixmap);
    Prepare(painter);
    const QRectF field(1, 1, 50, 49);
    QRadialGradient glow(field.center(), 34);
    if (bLit) {
        glow.setColorAt(0, QColor(255, 70, 50));
        glow.setColorAt(1, QColor(200, 0, 0));
    } else {
        glow.setColorAt(0, QColor(110, 20, 20));
        glow.setColorAt(1, QColor(70, 10, 10));
    }
    painter.setPen(QPen(bLit ? QColor(120, 0, 0) : QColor(40, 0, 0), 1.5));
    painter.setBrush(glow);
    painter.drawRoundedRect(field, 6, 6);
    const QColor fill = bLit ? QColor(255, 220, 0) : QColor(120, 100, 20);
    const QColor ink = bLit ? QColor(20, 20, 20) : QColor(45, 25, 10);
    DrawWarningTriangle(painter, QRectF(8, 8, 36, 33), fill, ink);
    return pixmap;
}

QPixmap SplashPicture() {
    QPixmap pixmap = Blank(360, 110);
    QPainter painter(&pixmap);
    Prepare(painter);
    // A burst: packets of fast pulses above a base line, with the program's bolt.
    painter.fillRect(pixmap.rect(), Qt::white);
    painter.setPen(QPen(QColor(40, 40, 120), 1.5));
    painter.drawLine(QPointF(10, 80), QPointF(350, 80));
    const QColor pulse(30, 60, 200);
    painter.setPen(QPen(pulse, 1.5));
    for (int nPacket = 0; nPacket < 3; ++nPacket) {
        const qreal x0 = 100 + nPacket * 85;
        for (int i = 0; i < 6; ++i) {
            const qreal x = x0 + i * 8;
            const qreal height = 48 - i * 6;
            QPainterPath path;
            path.moveTo(x, 80);
            path.lineTo(x + 1, 80 - height);
            path.quadTo(x + 2.5, 80 - height * 0.3, x + 6, 80);
            painter.drawPath(path);
        }
    }
    DrawBolt(painter, QRectF(20, 12, 56, 86), QColor(250, 200, 0));
    return pixmap;
}

QPixmap ProgramIconPicture(int nSize) {
    QPixmap pixmap = Blank(nSize, nSize);
    QPainter painter(&pixmap);
    Prepare(painter);
    painter.scale(nSize / 64.0, nSize / 64.0);
    QLinearGradient gradient(0, 0, 0, 64);
    gradient.setColorAt(0, QColor(60, 90, 200));
    gradient.setColorAt(1, QColor(25, 40, 120));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    DrawBolt(painter, QRectF(14, 6, 36, 52), QColor(255, 215, 0));
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int nSize : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(ProgramIconPicture(nSize));
    return icon;
}

QPixmap GroupPicture(GROUP_PICTURE eKind) {
    QPixmap pixmap = Blank(24, 24);
    QPainter painter(&pixmap);
    Prepare(painter);
    const QColor ink(50, 60, 150);
    painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    switch (eKind) {
    case GROUP_PICTURE_VOLTAGE:
        DrawBolt(painter, QRectF(5, 2, 14, 20), QColor(250, 200, 0));
        break;
    case GROUP_PICTURE_FREQUENCY: {
        QPainterPath path;
        path.moveTo(2, 18);
        for (int i = 0; i < 4; ++i) {
            const qreal x = 3 + i * 5;
            path.lineTo(x, 18);
            path.lineTo(x, 6);
            path.lineTo(x + 2.5, 6);
            path.lineTo(x + 2.5, 18);
        }
        path.lineTo(22, 18);
        painter.drawPath(path);
        break;
    }
    case GROUP_PICTURE_TIME:
        painter.setBrush(QColor(235, 240, 255));
        painter.drawEllipse(QPointF(12, 12), 9, 9);
        painter.drawLine(QPointF(12, 12), QPointF(12, 6));
        painter.drawLine(QPointF(12, 12), QPointF(16, 14));
        break;
    case GROUP_PICTURE_COUPLING:
        painter.setBrush(QColor(235, 240, 255));
        painter.drawRoundedRect(QRectF(6, 8, 12, 9), 2, 2);
        painter.drawLine(QPointF(9, 8), QPointF(9, 3));
        painter.drawLine(QPointF(15, 8), QPointF(15, 3));
        painter.drawLine(QPointF(12, 17), QPointF(12, 22));
        break;
    case GROUP_PICTURE_SPECIAL: {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const qreal radius = (i % 2 == 0) ? 10 : 4.2;
            const qreal angle = -M_PI / 2 + i * M_PI / 5;
            star << QPointF(12 + radius * std::cos(angle), 12.5 + radius * std::sin(angle));
        }
        painter.setBrush(QColor(255, 210, 60));
        painter.drawPolygon(star);
        break;
    }
    }
    return pixmap;
}

QPixmap LoadFolderPicture() {
    QPixmap pixmap = Blank(40, 32);
    QPainter painter(&pixmap);
    Prepare(painter);
    const QColor edge(170, 120, 20);
    painter.setPen(QPen(edge, 1.2));
    painter.setBrush(QColor(240, 190, 70));
    QPainterPath back;
    back.moveTo(2, 6);
    back.lineTo(14, 6);
    back.lineTo(17, 9);
    back.lineTo(38, 9);
    back.lineTo(38, 30);
    back.lineTo(2, 30);
    back.closeSubpath();
    painter.drawPath(back);
    painter.setBrush(QColor(255, 215, 100));
    painter.drawRoundedRect(QRectF(2, 12, 36, 18), 2, 2);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(120, 60, 0));
    painter.drawText(QRectF(2, 12, 36, 18), Qt::AlignCenter, QStringLiteral("LOAD"));
    return pixmap;
}

namespace {

void DrawToolPicture(QPainter& painter, TOOL_PICTURE eKind) {
    const QColor ink(70, 70, 80);
    switch (eKind) {
    case TOOL_PICTURE_NEW: // a sheet with its top right corner folded
        painter.setPen(QPen(ink, 1));
        painter.setBrush(Qt::white);
        painter.drawPolygon(QPolygonF() << QPointF(3.5, 1.5) << QPointF(9.5, 1.5) << QPointF(12.5, 4.5)
                                        << QPointF(12.5, 14.5) << QPointF(3.5, 14.5));
        painter.drawPolyline(QPolygonF() << QPointF(9.5, 1.5) << QPointF(9.5, 4.5) << QPointF(12.5, 4.5));
        break;
    case TOOL_PICTURE_OPEN: {
        const QColor edge(160, 110, 20);
        painter.setPen(QPen(edge, 1));
        painter.setBrush(QColor(235, 185, 65));
        painter.drawPolygon(QPolygonF() << QPointF(1.5, 3.5) << QPointF(5.5, 3.5) << QPointF(7, 5)
                                        << QPointF(12.5, 5) << QPointF(12.5, 13.5) << QPointF(1.5, 13.5));
        painter.setBrush(QColor(255, 215, 100));
        painter.drawPolygon(QPolygonF() << QPointF(4, 7.5) << QPointF(15, 7.5) << QPointF(12.5, 13.5)
                                        << QPointF(1.5, 13.5));
        break;
    }
    case TOOL_PICTURE_SAVE:
        painter.setPen(QPen(QColor(25, 45, 110), 1));
        painter.setBrush(QColor(55, 95, 190));
        painter.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(4, 2, 8, 5)); // the label
        painter.setBrush(QColor(190, 195, 205));
        painter.drawRect(QRectF(4.5, 10, 7, 4.5)); // the shutter
        painter.setBrush(QColor(55, 95, 190));
        painter.drawRect(QRectF(9, 10.8, 1.6, 2.8));
        break;
    case TOOL_PICTURE_OUTPUT: {
        painter.setPen(QPen(QColor(30, 110, 60), 1));
        painter.setBrush(Qt::white);
        const QRectF sheet(1.5, 2.5, 13, 11);
        painter.drawRect(sheet);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 140, 75));
        painter.drawRect(QRectF(2, 3, 12, 2.5)); // the header row
        painter.setPen(QPen(QColor(30, 110, 60), 0.8));
        for (qreal y : {8.0, 10.5})
            painter.drawLine(QPointF(2, y), QPointF(14, y));
        for (qreal x : {6.0, 10.0})
            painter.drawLine(QPointF(x, 5.5), QPointF(x, 13));
        break;
    }
    case TOOL_PICTURE_ABOUT: {
        painter.setPen(QPen(QColor(20, 60, 150), 1));
        painter.setBrush(QColor(50, 110, 210));
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QRectF(7, 3.6, 2, 2));
        painter.drawRect(QRectF(7, 6.6, 2, 6));
        break;
    }
    }
}

} // namespace

QIcon ToolIcon(TOOL_PICTURE eKind) {
    QIcon icon;
    for (int nSize : {16, 32}) {
        QPixmap pixmap = Blank(nSize, nSize);
        QPainter painter(&pixmap);
        Prepare(painter);
        painter.scale(nSize / 16.0, nSize / 16.0);
        DrawToolPicture(painter, eKind);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace torvex
