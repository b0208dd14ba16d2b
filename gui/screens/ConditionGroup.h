#pragma once

#include "gui/widgets/Pictures.h"

#include <QFrame>

class QBoxLayout;
class QLabel;

namespace torvex {

// A group of a condition screen: a title area at its left, filled with the
// caption colour and holding the group's picture and label, and the controls
// at its right.
class CConditionGroup : public QFrame {
    Q_OBJECT
public:
    CConditionGroup(const QString& strTitle, GROUP_PICTURE ePicture, int nTitleWidth,
                    QWidget* pParent = nullptr, bool bVerticalBody = false, bool bPictureBeside = false);

    QBoxLayout* Body() const { return m_pBody; }
    QLabel* Title() const { return m_pTitle; }

private:
    QBoxLayout* m_pBody;
    QLabel* m_pTitle;
};

} // namespace torvex
