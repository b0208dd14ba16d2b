#pragma once

#include <QMainWindow>
#include <QRect>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;

namespace torvex {

class CTorvexDoc;
class CTorvexView;
class COperatorDialog;
class CSession;

// The window's place on a screen's work area: the preferred size bounded by
// the area, centred on it.
QRect FittedWindowRect(const QRect& available, const QSize& preferred);

// The main window: menu, toolbar, status bar and the tab view.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Screens::Later builds only the shell (menus, tool bar, status bar), which
    // does not depend on the instrument; BuildScreens() then builds the tabs
    // once the model is known. Start-up prepares the shell while discovery
    // talks to the line.
    enum class Screens { Now, Later };
    explicit CMainFrame(CSession& session, QWidget* pParent = nullptr, Screens eScreens = Screens::Now);
    void BuildScreens();

    CTorvexView* View() const { return m_pView; }
    // Opens a data file as the document (command line, dropped file, recent file).
    bool OpenFile(const QString& strPath);
    void UpdateCommands();
    // The title as the window system shows it: the tab's title, marked with a
    // leading "*" while the MANUAL document or the sequence has unsaved changes.
    QString ShownTitle() const;
    // The status bar's text while nothing else is shown.
    static QString IdleText();

    QAction* m_pNew = nullptr;
    QAction* m_pOpen = nullptr;
    QAction* m_pSave = nullptr;
    QAction* m_pSaveAs = nullptr;
    QAction* m_pOutput = nullptr;
    QAction* m_pExit = nullptr;
    QAction* m_pHistory = nullptr;
    QLabel* m_pLinkHealth = nullptr;

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;

private:
    void BuildMenus();
    void ShowHealth();
    void FillRecentMenu();
    void OnAbout();
    void OnManual();
    void OnHistory();
    void ShowTitleMark();
    void FitToScreen();

    CSession& m_session;
    CTorvexDoc& m_doc;
    COperatorDialog& m_dialog;
    CTorvexView* m_pView;
    QScrollArea* m_pScroll = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QMenu* m_pRecentMenu = nullptr;
};

} // namespace torvex
