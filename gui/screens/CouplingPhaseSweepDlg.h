#pragma once

#include <QWidget>
#include <array>

class QCheckBox;
class QPushButton;

namespace torvex {

class CCouplingPhaseDlg;
struct OUTPUT_PORT_STRUCT;

// One page of the coupling line editor: five line boxes and the two sweep
// kinds "1相毎" / "全組合せ" (disabled on the "単独" page).
class CCouplingPhaseSweepDlg : public QWidget {
    Q_OBJECT
public:
    CCouplingPhaseSweepDlg(CCouplingPhaseDlg& owner, bool bSweep, QWidget* pParent = nullptr);

    // Captions and visible boxes for single- or three-phase lines.
    void SetCaptions(bool bSingle);
    // Box states and pressed button from the port.
    void Refresh(const OUTPUT_PORT_STRUCT& port);
    // No output record: every box unchecked, both buttons released.
    void Clear();
    // Display mode greys the boxes and buttons; they still show the lines.
    void SetDisplayMode(bool bDisplay);
    // The checked boxes as a mask.
    uint32_t BoxMask() const;

    QCheckBox* LineBox(int n) const { return m_apLine[n]; }
    QPushButton* EachButton() const { return m_pEach; }
    QPushButton* AllButton() const { return m_pAll; }

private:
    bool m_bSweep;
    std::array<QCheckBox*, 5> m_apLine{};
    QPushButton* m_pEach;
    QPushButton* m_pAll;
};

} // namespace torvex
