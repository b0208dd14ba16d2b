#pragma once

#include <QWidget>

namespace torvex {

// The up/down buttons beside a number box. A press on the upper half steps up,
// on the lower half down; the modifiers held at the press come with it.
class CSpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit CSpinButtons(QWidget* pParent = nullptr);
    QSize sizeHint() const override { return {16, 22}; }

signals:
    void stepped(bool bUp, bool bCtrl, bool bShift);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
};

} // namespace torvex
