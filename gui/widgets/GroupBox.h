#pragma once

#include <QFrame>

class QVBoxLayout;

namespace torvex {

// A framed group whose title stands in a small box of the caption colour
// (red 219, green 219, blue 255).
class CGroupBox : public QFrame {
    Q_OBJECT
public:
    explicit CGroupBox(const QString& strTitle, QWidget* pParent = nullptr);

    // The layout below the title; fill it with the group's controls.
    QVBoxLayout* Body() const { return m_pBody; }

    static QColor CaptionColor() { return QColor(219, 219, 255); }

private:
    QVBoxLayout* m_pBody;
};

} // namespace torvex
