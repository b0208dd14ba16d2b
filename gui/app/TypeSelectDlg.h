#pragma once

#include <QDialog>
#include <cstdint>

class QComboBox;

namespace torvex {

// Shown at start-up when no instrument answered: start in demo mode with a
// chosen model, try the connection again, or quit.
class CTypeSelectDlg : public QDialog {
    Q_OBJECT
public:
    // How the dialog was closed (its exec() result).
    enum { RESULT_FAILED = -1, RESULT_DEMO = 1, RESULT_EXIT = 3, RESULT_RETRY = 4 };

    // rbNotConnected is the program's not-connected flag: demo mode sets it.
    explicit CTypeSelectDlg(int32_t& rbNotConnected, QWidget* pParent = nullptr);

    // Model type of the selected entry.
    int32_t SelectedModelType() const;

    QComboBox* m_pModelList = nullptr;

public slots:
    void OnDemo();
    void OnRetry();
    // The exit button, the close box and Esc all end the program.
    void reject() override;

private:
    int32_t& m_rbNotConnected;
};

} // namespace torvex
