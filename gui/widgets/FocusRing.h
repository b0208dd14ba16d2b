#pragma once

#include <QWidget>

namespace torvex {

// A ring drawn over a control while it has the keyboard focus, for controls
// whose style shows no focus of its own (picture buttons, the LINE lever).
// It takes no clicks and follows the control's size.
class CFocusRing : public QWidget {
public:
    static void Attach(QWidget* pControl);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    explicit CFocusRing(QWidget* pControl);
};

} // namespace torvex
