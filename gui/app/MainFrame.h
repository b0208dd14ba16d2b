#pragma once

#include <QMainWindow>

class CTorvexDoc;
class CTorvexView;
class COperatorDialog;
namespace torvex {
class CSession;
}
class QAction;
class QLabel;
class QMenu;

// The main window: menu, toolbar, status bar and the tab view.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(torvex::CSession& session, QWidget* pParent = nullptr);

    CTorvexView* View() const { return m_pView; }
    // Opens a data file as the document (command line, dropped file, recent file).
    bool OpenFile(const QString& strPath);
    void UpdateCommands();

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

private:
    void BuildMenus();
    void FillRecentMenu();
    void OnAbout();
    void OnManual();
    void OnHistory();

    torvex::CSession& m_session;
    CTorvexDoc& m_doc;
    COperatorDialog& m_dialog;
    CTorvexView* m_pView;
    QMenu* m_pFileMenu = nullptr;
    QMenu* m_pRecentMenu = nullptr;
};
