#include "gui/app/MainFrame.h"

#include "config/ManualLocation.h"
#include "gui/app/FirstPaint.h"
#include "files/TabCode.h"
#include "files/TabLogic.h"
#include "files/TorvexDoc.h"
#include "gui/app/AboutDlg.h"
#include "gui/app/TorvexView.h"
#include "gui/journal/HistoryDlg.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/Pictures.h"
#include "model/OperatorDialog.h"
#include "session/Session.h"

#include <QApplication>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QScreen>
#include <QScrollArea>
#include <QUrl>
#include <QWindow>

namespace torvex {

CMainFrame::CMainFrame(CSession& session, QWidget* pParent, Screens eScreens)
    : QMainWindow(pParent), m_session(session), m_doc(session.Doc()), m_dialog(session.Dialog()) {
    // A window shows the application's icon; only without one is it drawn here.
    if (QGuiApplication::windowIcon().isNull()) setWindowIcon(ProgramIcon());
    setWindowTitle(tr("無題 - TORVEX_Pilot"));
    m_pView = new CTorvexView(session, this);
    // The view scrolls where the window is smaller than the shown tab needs.
    m_pScroll = new QScrollArea(this);
    m_pScroll->setFrameShape(QFrame::NoFrame);
    m_pScroll->setWidgetResizable(true);
    // Clicks on the screens' own empty parts must not move the focus here;
    // Tab still brings every control into sight.
    m_pScroll->setFocusPolicy(Qt::NoFocus);
    m_pScroll->setWidget(m_pView);
    setCentralWidget(m_pScroll);
    BuildMenus();
    statusBar()->showMessage(IdleText());
    // A menu or a toolbar button passed over leaves an empty status tip behind:
    // the idle text comes back instead of a blank pane.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& strText) {
        if (strText.isEmpty()) statusBar()->showMessage(IdleText());
    });
    // The link's health, kept up to date from the instrument thread's reports.
    m_pLinkHealth = new QLabel(this);
    m_pLinkHealth->setToolTip(tr("試験器との通信状態と、接続してからの再送回数・通信失敗回数です。"));
    statusBar()->addPermanentWidget(m_pLinkHealth);
    setAcceptDrops(true);
    if (eScreens == Screens::Now) BuildScreens();
}

void CMainFrame::ShowHealth() {
    m_pLinkHealth->setText(LinkHealthText(m_session.Instrument().Health(), m_session.NotConnected()));
}

void CMainFrame::BuildScreens() {
    connect(&m_session.Instrument(), &CInstrumentThread::healthChanged, this, &CMainFrame::ShowHealth);
    connect(&m_session, &CSession::connectionChanged, this, &CMainFrame::ShowHealth);
    ShowHealth();

    connect(m_pView, &CTorvexView::commandsChanged, this, &CMainFrame::UpdateCommands);
    // A run locks the commands that change conditions or files (they follow the
    // screens' state); the view commands, the history and Help stay available.
    connect(m_pView, &CTorvexView::screensLocked, this, &CMainFrame::UpdateCommands);
    connect(&m_doc, &CTorvexDoc::manualConditionReplaced, m_pView, &CTorvexView::RefreshManual);
    connect(&m_doc, &CTorvexDoc::titleChanged, this, [this] {
        if (m_pView->Tab() == TAB_MANUAL) setWindowTitle(TabWindowTitle(TAB_MANUAL, m_doc));
    });
    connect(&m_doc, &CTorvexDoc::modifiedChanged, this, &CMainFrame::UpdateCommands);
    connect(&m_doc, &CTorvexDoc::sequenceChanged, this, &CMainFrame::ShowTitleMark);

    m_pView->InitialUpdate();
    FitToScreen();
    UpdateCommands();
    WatchFirstPaint(this);
}

QRect FittedWindowRect(const QRect& available, const QSize& preferred) {
    QSize size = preferred.boundedTo(available.size());
    QRect rect(QPoint(0, 0), size);
    rect.moveCenter(available.center());
    return rect;
}

void CMainFrame::FitToScreen() {
    // 1366 x 768 where the screen has room, never more than its work area
    // (a scaled display has fewer logical pixels), centred on it. The view
    // scrolls, so any size down to the least usable one is allowed.
    const QScreen* pScreen = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect available = pScreen ? pScreen->availableGeometry() : QRect(0, 0, 1366, 768);
    setMinimumSize(QSize(640, 400).boundedTo(available.size()));
    // The frame the window system adds is not known before the window is shown:
    // allow for a title bar and borders of the usual size.
    const QSize frame(8, 36);
    const QRect rect = FittedWindowRect(available.adjusted(0, 0, -frame.width(), -frame.height()), QSize(1366, 768));
    resize(rect.size());
    move(rect.topLeft());
}

void CMainFrame::BuildMenus() {
    m_pFileMenu = menuBar()->addMenu(tr("ファイル(&F)"));
    m_pNew = m_pFileMenu->addAction(tr("新規作成(&N)"));
    m_pNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_pOpen = m_pFileMenu->addAction(tr("開く(&O)..."));
    m_pOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_pSave = m_pFileMenu->addAction(tr("上書き保存(&S)"));
    m_pSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_pSaveAs = m_pFileMenu->addAction(tr("名前を付けて保存(&A)..."));
    m_pFileMenu->addSeparator();
    m_pRecentMenu = m_pFileMenu->addMenu(tr("最近使ったファイル"));
    m_pFileMenu->addSeparator();
    m_pExit = m_pFileMenu->addAction(tr("アプリケーションの終了(&X)"));
    connect(m_pFileMenu, &QMenu::aboutToShow, this, &CMainFrame::FillRecentMenu);

    QMenu* pView = menuBar()->addMenu(tr("表示(&V)"));
    auto* pToolbar = addToolBar(tr("ツール バー"));
    pToolbar->setIconSize(QSize(16, 16));
    QAction* pShowToolbar = pToolbar->toggleViewAction();
    pShowToolbar->setText(tr("ツール バー(&T)"));
    pView->addAction(pShowToolbar);
    QAction* pShowStatus = pView->addAction(tr("ステータス バー(&S)"));
    pShowStatus->setCheckable(true);
    pShowStatus->setChecked(true);
    connect(pShowStatus, &QAction::toggled, statusBar(), &QWidget::setVisible);
    pView->addSeparator();
    m_pHistory = pView->addAction(tr("試験履歴(&H)..."));
    connect(m_pHistory, &QAction::triggered, this, &CMainFrame::OnHistory);

    QMenu* pHelp = menuBar()->addMenu(tr("ヘルプ(&H)"));
    QAction* pAbout = pHelp->addAction(tr("バージョン情報 TORVEX Pilot(&A)..."));
    QAction* pManual = pHelp->addAction(tr("取扱説明書(&M)"));

    m_pOutput = new QAction(tr("試験データを出力"), this);
    m_pOutput->setStatusTip(tr("試験データを出力"));
    m_pOutput->setToolTip(tr("出力"));
    // The program draws its own: looking them up in the desktop's icon theme
    // costs a noticeable part of the start.
    m_pNew->setIcon(ToolIcon(TOOL_PICTURE_NEW));
    m_pOpen->setIcon(ToolIcon(TOOL_PICTURE_OPEN));
    m_pSave->setIcon(ToolIcon(TOOL_PICTURE_SAVE));
    m_pOutput->setIcon(ToolIcon(TOOL_PICTURE_OUTPUT));
    pAbout->setIcon(ToolIcon(TOOL_PICTURE_ABOUT));
    pToolbar->addAction(m_pNew);
    pToolbar->addAction(m_pOpen);
    pToolbar->addAction(m_pSave);
    pToolbar->addSeparator();
    pToolbar->addAction(m_pOutput);
    pToolbar->addAction(pAbout);

    connect(m_pNew, &QAction::triggered, this, [this] { m_doc.OnNewDocument(); });
    connect(m_pOpen, &QAction::triggered, this, [this] {
        const QString path = m_dialog.OpenFileName(tr("開く"), CTorvexDoc::DataFileFilters());
        if (!path.isEmpty()) OpenFile(path);
    });
    connect(m_pSave, &QAction::triggered, this, [this] { m_doc.Save(); });
    connect(m_pSaveAs, &QAction::triggered, this, [this] { m_doc.SaveAs(); });
    connect(m_pExit, &QAction::triggered, this, &QWidget::close);
    connect(m_pOutput, &QAction::triggered, this, [this] {
        if (m_pView->Tab() != TAB_SETTINGS) m_pView->OutputReport();
    });
    connect(pAbout, &QAction::triggered, this, &CMainFrame::OnAbout);
    connect(pManual, &QAction::triggered, this, &CMainFrame::OnManual);
    for (QAction* a : {m_pNew, m_pOpen, m_pSave, m_pSaveAs, m_pOutput, pAbout, pManual})
        connect(a, &QAction::triggered, this, [this] { setFocus(); });
}

void CMainFrame::FillRecentMenu() {
    m_pRecentMenu->clear();
    const QStringList files = m_doc.RecentFiles();
    // The entries are offered only where data files are opened: the MANUAL tab.
    if (m_pView->Tab() != TAB_MANUAL || !m_pView->ScreensEnabled() || files.isEmpty()) {
        m_pRecentMenu->setEnabled(false);
        return;
    }
    m_pRecentMenu->setEnabled(true);
    for (int i = 0; i < files.size(); ++i) {
        QAction* a =
            m_pRecentMenu->addAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()));
        const QString path = files[i];
        connect(a, &QAction::triggered, this, [this, path] { OpenFile(path); });
    }
}

bool CMainFrame::OpenFile(const QString& strPath) {
    return m_doc.OpenDocument(strPath);
}

void CMainFrame::UpdateCommands() {
    const bool bManual = m_pView->Tab() == TAB_MANUAL && m_pView->ScreensEnabled();
    m_pNew->setEnabled(bManual);
    m_pOpen->setEnabled(bManual);
    m_pSave->setEnabled(bManual && m_pView->IsManualSaveEnabled());
    m_pSaveAs->setEnabled(bManual && m_pView->IsManualSaveEnabled());
    m_pOutput->setEnabled(m_pView->IsReportEnabled());
    ShowTitleMark();
}

QString CMainFrame::IdleText() {
    return tr("準備完了");
}

void CMainFrame::ShowTitleMark() {
    // The title itself stays the tab's title; the window system is shown it
    // with a leading "*" while the tab's document has unsaved changes.
    if (!windowHandle()) return;
    const QString title = windowTitle();
    const QString shown = UnsavedChanges(m_pView->Tab(), m_doc) ? QStringLiteral("*") + title : title;
    if (windowHandle()->title() != shown) windowHandle()->setTitle(shown);
}

QString CMainFrame::ShownTitle() const {
    return windowHandle() ? windowHandle()->title() : windowTitle();
}

void CMainFrame::changeEvent(QEvent* pEvent) {
    QMainWindow::changeEvent(pEvent);
    if (pEvent->type() == QEvent::WindowTitleChange) ShowTitleMark();
}

void CMainFrame::showEvent(QShowEvent* pEvent) {
    QMainWindow::showEvent(pEvent);
    ShowTitleMark();
}

void CMainFrame::closeEvent(QCloseEvent* pEvent) {
    if (!ConfirmClose(m_doc, m_pView->Tab(), m_pView->IsTestRunning(), m_pView->IsJudgmentEntered(),
                      m_dialog)) {
        pEvent->ignore();
        return;
    }
    pEvent->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* pEvent) {
    if (pEvent->mimeData()->hasUrls()) pEvent->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* pEvent) {
    const QList<QUrl> urls = pEvent->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile() && m_pView->ScreensEnabled())
        OpenFile(urls.first().toLocalFile());
    pEvent->acceptProposedAction();
}

void CMainFrame::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CMainFrame::OnManual() {
    const QString path = FindManual(ManualLanguage(), ManualFolders(QCoreApplication::applicationDirPath()));
    if (path.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        m_dialog.Message(tr("取扱説明書を表示できませんでした"));
}

void CMainFrame::OnHistory() {
    CHistoryDlg history(m_session.Journal(), m_dialog, this);
    history.exec();
}

} // namespace torvex
