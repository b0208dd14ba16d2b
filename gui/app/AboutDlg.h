#pragma once

#include <QDialog>

namespace torvex {

// The program's version box.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};

} // namespace torvex
