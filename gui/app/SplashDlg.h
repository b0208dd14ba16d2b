#pragma once

#include <QFrame>
#include <QTimer>

namespace torvex {

// The start-up picture. It closes after 2000 ms, or at once when the operator
// presses a key or a mouse button anywhere in the program; that press is
// consumed so it does nothing else. It deletes itself when closed.
class CSplashDlg : public QFrame {
    Q_OBJECT
public:
    explicit CSplashDlg(QWidget* pParent = nullptr);
    ~CSplashDlg() override;

    // Centres the window on the screen, shows it and starts the timer. A splash
    // never shown must be deleted by its owner.
    void ShowSplash();
    // Lays the splash out and creates its window without showing it, so that
    // ShowSplash() only has to put it on the screen.
    void Prepare();

    // The splash on screen, or null when there is none.
    static CSplashDlg* Current();

    static constexpr int kShowMilliseconds = 2000;

signals:
    // Emitted once when the splash has gone (the main window repaints then).
    void closed();

public slots:
    void CloseSplash();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    QTimer m_timer;
    bool m_bClosing = false;
};

} // namespace torvex
