#pragma once

#include <QDialog>

// The program's version box.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};
