#pragma once

#include <QObject>

class QWidget;

namespace torvex {

// Switches the setting-information tooltips of the screens on and off at
// once; other tooltips (toolbar, menus) are not affected.
class CTooltipSwitch : public QObject {
    Q_OBJECT
public:
    static CTooltipSwitch& Instance();

    // The widget's tooltip follows the switch.
    static void MarkSwitchable(QWidget* pWidget);

    bool IsOn() const { return m_bOn; }

public slots:
    void SetOn(bool bOn);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    CTooltipSwitch();
    bool m_bOn = true;
};

} // namespace torvex
