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
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

CMainFrame::CMainFrame(torvex::CSession& session, QWidget* pParent)
    : QMainWindow(pParent), m_session(session), m_doc(session.Doc()), m_dialog(session.Dialog()) {
    setWindowIcon(ProgramIcon());
    setWindowTitle(QStringLiteral("無題 - TORVEX_Pilot"));
    move(0, 0);
    resize(1366, 768);
    m_pView = new CTorvexView(session, this);
    setCentralWidget(m_pView);
    BuildMenus();
    statusBar()->showMessage(QStringLiteral("準備完了"));
    // The link's health, kept up to date from the instrument thread's reports.
    m_pLinkHealth = new QLabel(this);
    m_pLinkHealth->setToolTip(
        QStringLiteral("試験器との通信状態と、接続してからの再送回数・通信失敗回数です。"));
    statusBar()->addPermanentWidget(m_pLinkHealth);
    auto showHealth = [this, &session] {
        m_pLinkHealth->setText(torvex::LinkHealthText(session.Instrument().Health(), session.NotConnected()));
    };
    connect(&session.Instrument(), &torvex::CInstrumentThread::healthChanged, this, showHealth);
    connect(&session, &torvex::CSession::connectionChanged, this, showHealth);
    showHealth();
    setAcceptDrops(true);

    connect(m_pView, &CTorvexView::commandsChanged, this, &CMainFrame::UpdateCommands);
    connect(m_pView, &CTorvexView::screensLocked, this, [this](bool bLocked) {
        for (QAction* a : menuBar()->actions())
            a->setEnabled(!bLocked);
        menuBar()->update();
    });
    connect(&m_doc, &CTorvexDoc::manualConditionReplaced, m_pView, &CTorvexView::RefreshManual);
    connect(&m_doc, &CTorvexDoc::titleChanged, this, [this] {
        if (m_pView->Tab() == TAB_MANUAL) setWindowTitle(TabWindowTitle(TAB_MANUAL, m_doc));
    });
    connect(&m_doc, &CTorvexDoc::modifiedChanged, this, &CMainFrame::UpdateCommands);

    m_pView->InitialUpdate();
    // At least what the run panel needs next to the condition screens.
    setMinimumSize(1100, 600);
    UpdateCommands();
    WatchFirstPaint(this);
}

void CMainFrame::BuildMenus() {
    m_pFileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    m_pNew = m_pFileMenu->addAction(QStringLiteral("新規作成(&N)"));
    m_pNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    m_pOpen = m_pFileMenu->addAction(QStringLiteral("開く(&O)..."));
    m_pOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_pSave = m_pFileMenu->addAction(QStringLiteral("上書き保存(&S)"));
    m_pSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_pSaveAs = m_pFileMenu->addAction(QStringLiteral("名前を付けて保存(&A)..."));
    m_pFileMenu->addSeparator();
    m_pRecentMenu = m_pFileMenu->addMenu(QStringLiteral("最近使ったファイル"));
    m_pFileMenu->addSeparator();
    m_pExit = m_pFileMenu->addAction(QStringLiteral("アプリケーションの終了(&X)"));
    connect(m_pFileMenu, &QMenu::aboutToShow, this, &CMainFrame::FillRecentMenu);

    QMenu* pView = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    auto* pToolbar = addToolBar(QStringLiteral("ツール バー"));
    pToolbar->setIconSize(QSize(16, 16));
    QAction* pShowToolbar = pToolbar->toggleViewAction();
    pShowToolbar->setText(QStringLiteral("ツール バー(&T)"));
    pView->addAction(pShowToolbar);
    QAction* pShowStatus = pView->addAction(QStringLiteral("ステータス バー(&S)"));
    pShowStatus->setCheckable(true);
    pShowStatus->setChecked(true);
    connect(pShowStatus, &QAction::toggled, statusBar(), &QWidget::setVisible);
    pView->addSeparator();
    m_pHistory = pView->addAction(QStringLiteral("試験履歴(&H)..."));
    connect(m_pHistory, &QAction::triggered, this, &CMainFrame::OnHistory);

    QMenu* pHelp = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    QAction* pAbout = pHelp->addAction(QStringLiteral("バージョン情報 TORVEX Pilot(&A)..."));
    QAction* pManual = pHelp->addAction(QStringLiteral("取扱説明書(&M)"));

    m_pOutput = new QAction(QStringLiteral("試験データを出力"), this);
    m_pOutput->setStatusTip(QStringLiteral("試験データを出力"));
    m_pOutput->setToolTip(QStringLiteral("出力"));
    QStyle* s = style();
    m_pNew->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    m_pOpen->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    m_pSave->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    m_pOutput->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
    pAbout->setIcon(s->standardIcon(QStyle::SP_MessageBoxInformation));
    pToolbar->addAction(m_pNew);
    pToolbar->addAction(m_pOpen);
    pToolbar->addAction(m_pSave);
    pToolbar->addSeparator();
    pToolbar->addAction(m_pOutput);
    pToolbar->addAction(pAbout);

    connect(m_pNew, &QAction::triggered, this, [this] { m_doc.OnNewDocument(); });
    connect(m_pOpen, &QAction::triggered, this, [this] {
        const QString path = m_dialog.OpenFileName(QStringLiteral("開く"), CTorvexDoc::DataFileFilters());
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
    if (m_pView->Tab() != TAB_MANUAL || files.isEmpty()) {
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
        m_dialog.Message(QStringLiteral("取扱説明書を表示できませんでした"));
}

void CMainFrame::OnHistory() {
    CHistoryDlg history(m_session.Journal(), m_dialog, this);
    history.exec();
}
