#include "gui/app/SplashDlg.h"

#include "gui/widgets/Fonts.h"
#include "gui/widgets/Pictures.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace torvex {

namespace {
CSplashDlg* s_pSplash = nullptr;
} // namespace

CSplashDlg::CSplashDlg(QWidget* pParent)
    : QFrame(pParent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    // A splash window shows no icon anywhere (no task bar entry, no switcher):
    // one small picture spares the window system the program's six sizes.
    setWindowIcon(QIcon(ProgramIconPicture(16)));
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(24, 20, 24, 20);
    pLayout->setSpacing(6);
    auto* pPicture = new QLabel(this);
    pPicture->setPixmap(SplashPicture());
    pPicture->setAlignment(Qt::AlignCenter);
    pLayout->addWidget(pPicture);
    pLayout->addSpacing(6);
    auto addLine = [&](const QString& strText, int nPixels) {
        auto* pLabel = new QLabel(strText, this);
        pLabel->setFont(UiFont(nPixels));
        pLabel->setAlignment(Qt::AlignCenter);
        pLayout->addWidget(pLabel);
    };
    addLine(tr("TORVEX Remote Control Software"), 16);
    addLine(QStringLiteral("TORVEX_Pilot, Version " TORVEX_VERSION), 14);
    addLine(QStringLiteral("Copyright (C) Kelvora"), 14);

    m_timer.setSingleShot(true);
    m_timer.setInterval(kShowMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &CSplashDlg::CloseSplash);

    s_pSplash = this;
    qApp->installEventFilter(this);
}

CSplashDlg::~CSplashDlg() {
    qApp->removeEventFilter(this);
    if (s_pSplash == this) s_pSplash = nullptr;
}

CSplashDlg* CSplashDlg::Current() {
    return s_pSplash;
}

void CSplashDlg::Prepare() {
    ensurePolished();
    adjustSize();
    winId();
}

void CSplashDlg::ShowSplash() {
    // From now on a key or a click anywhere closes it (it may have been built
    // earlier, while other windows took the input).
    s_pSplash = this;
    qApp->installEventFilter(this);
    adjustSize();
    if (const QScreen* pScreen = QGuiApplication::primaryScreen())
        move(pScreen->availableGeometry().center() - rect().center());
    show();
    raise();
    m_timer.start();
}

void CSplashDlg::CloseSplash() {
    if (m_bClosing) return;
    m_bClosing = true;
    m_timer.stop();
    qApp->removeEventFilter(this);
    if (s_pSplash == this) s_pSplash = nullptr;
    emit closed();
    close();
}

bool CSplashDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    switch (pEvent->type()) {
    case QEvent::ShortcutOverride:
        // Claimed for the key press that follows, so no menu shortcut fires;
        // the key press itself closes the splash.
        pEvent->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        // The press ends the splash and goes no further.
        CloseSplash();
        return true;
    default:
        return QFrame::eventFilter(pWatched, pEvent);
    }
}

} // namespace torvex
