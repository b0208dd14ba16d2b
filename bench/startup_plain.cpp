// A second reference of bench_startup: the windows the desktop program shows at
// start, made of plain Qt widgets with none of the program's own work (no
// settings, no translations, no instrument, no test log; filled shapes stand
// for its pictures). A splash window is shown first, then a main window of the
// program's size with its three menus, tool bar, status bar and four tabs, the
// first of them a test screen beside a run panel with its step table: some 420
// widgets made and some 170 of them shown, where the program makes some 420 and
// shows some 190. What it takes over the hello-world is what showing these
// windows costs Qt itself, a floor for the program.
#include "gui/app/FirstPaint.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QPixmap Filled(int nWidth, int nHeight, const QColor& colour) {
    QPixmap pixmap(nWidth, nHeight);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(pixmap.rect()).adjusted(1, 1, -1, -1), nWidth / 6.0, nHeight / 6.0);
    return pixmap;
}

// Layouts as tight as the program's, so that the window keeps its size.
template <class LAYOUT>
LAYOUT* Tight(LAYOUT* pLayout) {
    pLayout->setContentsMargins(2, 2, 2, 2);
    pLayout->setSpacing(2);
    return pLayout;
}

// A caption cell beside its controls, as the test screens group them.
QWidget* Group(const QString& strTitle, QWidget* pInner) {
    auto* pGroup = new QWidget;
    auto* pLayout = Tight(new QHBoxLayout(pGroup));
    auto* pCaption = new QLabel(strTitle);
    pCaption->setAutoFillBackground(true);
    pLayout->addWidget(pCaption);
    pLayout->addWidget(pInner, 1);
    return pGroup;
}

// A box with up and down buttons and its unit.
void AddSpin(QGridLayout* pGrid, int nRow, int nColumn, const QString& strText, const QString& strUnit) {
    pGrid->addWidget(new QLineEdit(strText), nRow, nColumn);
    auto* pUp = new QToolButton;
    pUp->setArrowType(Qt::UpArrow);
    pGrid->addWidget(pUp, nRow, nColumn + 1);
    auto* pDown = new QToolButton;
    pDown->setArrowType(Qt::DownArrow);
    pGrid->addWidget(pDown, nRow, nColumn + 2);
    pGrid->addWidget(new QLabel(strUnit), nRow, nColumn + 3);
}

QWidget* Spin(const QString& strText, const QString& strUnit) {
    auto* pWidget = new QWidget;
    AddSpin(Tight(new QGridLayout(pWidget)), 0, 0, strText, strUnit);
    return pWidget;
}

// A value with its three kinds on tabs: fixed, swept, listed.
QWidget* ValueEditor(const QString& strUnit) {
    auto* pEditor = new QWidget;
    auto* pLayout = Tight(new QVBoxLayout(pEditor));
    auto* pTabs = new QTabBar;
    for (const char* tab : {"Fixed", "Sweep", "List"})
        pTabs->addTab(QString::fromLatin1(tab));
    pLayout->addWidget(pTabs);
    auto* pStack = new QStackedWidget;
    pLayout->addWidget(pStack);
    for (int nPage = 0; nPage < 3; ++nPage) {
        auto* pPage = new QWidget;
        auto* pGrid = Tight(new QGridLayout(pPage));
        for (int nRow = 0; nRow < 3; ++nRow) {
            pGrid->addWidget(new QLabel(nRow == 0 ? "START" : nRow == 1 ? "STOP" : "STEP"), nRow, 0);
            AddSpin(pGrid, nRow, 1, QStringLiteral("500"), strUnit);
            if (nPage == 2) pGrid->addWidget(new QCheckBox, nRow, 5);
        }
        pStack->addWidget(pPage);
    }
    return pEditor;
}

QWidget* Radios(std::initializer_list<const char*> texts) {
    auto* pWidget = new QWidget;
    auto* pLayout = Tight(new QHBoxLayout(pWidget));
    for (const char* text : texts)
        pLayout->addWidget(new QRadioButton(QString::fromLatin1(text)));
    return pWidget;
}

QWidget* TestScreen() {
    auto* pScreen = new QWidget;
    auto* pLayout = Tight(new QVBoxLayout(pScreen));
    auto* pFile = Tight(new QHBoxLayout);
    pFile->addWidget(new QLineEdit(QStringLiteral("Untitled")));
    for (const char* text : {"Load", "Save", "Save As"})
        pFile->addWidget(new QPushButton(QString::fromLatin1(text)));
    pLayout->addLayout(pFile);
    auto* pFunctions = new QWidget;
    auto* pFunctionRow = Tight(new QHBoxLayout(pFunctions));
    for (const char* text : {"Reverse polarity", "Continuous output", "Frequency modulation", "External trigger"})
        pFunctionRow->addWidget(new QCheckBox(QString::fromLatin1(text)));
    pLayout->addWidget(Group(QStringLiteral("FUNCTION SETUP"), pFunctions));

    auto* pColumns = Tight(new QHBoxLayout);
    pLayout->addLayout(pColumns);
    auto* pLeft = Tight(new QVBoxLayout);
    auto* pRight = Tight(new QVBoxLayout);
    pColumns->addLayout(pLeft);
    pColumns->addLayout(pRight);
    pLeft->addWidget(Group(QStringLiteral("Polarity"), Radios({"Single +", "-", "Sweep + => -"})));
    pLeft->addWidget(Group(QStringLiteral("Voltage"), ValueEditor(QStringLiteral("V"))));
    pLeft->addWidget(Group(QStringLiteral("Frequency"), ValueEditor(QStringLiteral("kHz"))));
    auto* pTime = new QWidget;
    auto* pTimeGrid = Tight(new QGridLayout(pTime));
    AddSpin(pTimeGrid, 0, 0, QStringLiteral("0"), QStringLiteral("h"));
    AddSpin(pTimeGrid, 0, 4, QStringLiteral("1"), QStringLiteral("m"));
    AddSpin(pTimeGrid, 0, 8, QStringLiteral("0"), QStringLiteral("s"));
    pLeft->addWidget(Group(QStringLiteral("Test time"), pTime));
    pLeft->addWidget(Group(QStringLiteral("Output"), Radios({"CDN OUT", "PULSE OUT"})));
    pRight->addWidget(Group(QStringLiteral("Burst period"), Spin(QStringLiteral("300"), QStringLiteral("ms"))));
    pRight->addWidget(Group(QStringLiteral("Pulses"), Spin(QStringLiteral("75"), QString())));
    pRight->addWidget(Group(QStringLiteral("Burst duration"), Spin(QStringLiteral("15.00"), QStringLiteral("ms"))));
    pRight->addWidget(Group(QStringLiteral("Line sync"), Radios({"Sync", "Async"})));
    auto* pPhase = new QWidget;
    auto* pPhaseLayout = Tight(new QVBoxLayout(pPhase));
    pPhaseLayout->addWidget(new QRadioButton(QStringLiteral("Single phase")));
    auto* pPhaseTabs = new QTabBar;
    pPhaseTabs->addTab(QStringLiteral("Fixed"));
    pPhaseTabs->addTab(QStringLiteral("Sweep"));
    pPhaseLayout->addWidget(pPhaseTabs);
    auto* pLines = Tight(new QHBoxLayout);
    for (const char* text : {"L", "N", "PE"})
        pLines->addWidget(new QCheckBox(QString::fromLatin1(text)));
    pPhaseLayout->addLayout(pLines);
    auto* pCombine = Tight(new QHBoxLayout);
    for (const char* text : {"Each", "All"})
        pCombine->addWidget(new QPushButton(QString::fromLatin1(text)));
    pPhaseLayout->addLayout(pCombine);
    pRight->addWidget(Group(QStringLiteral("CDN phase"), pPhase));
    pRight->addStretch();
    return pScreen;
}

QWidget* RunPanel() {
    auto* pPanel = new QWidget;
    auto* pLayout = Tight(new QVBoxLayout(pPanel));
    auto* pTimes = Tight(new QGridLayout);
    pLayout->addLayout(pTimes);
    const char* captions[] = {"Test time:", "Total time:", "Remaining:"};
    for (int nRow = 0; nRow < 3; ++nRow) {
        pTimes->addWidget(new QLabel(QString::fromLatin1(captions[nRow])), nRow, 0);
        int nColumn = 1;
        for (const char* unit : {"0 h", "1 m", "0 s"})
            pTimes->addWidget(new QLabel(QString::fromLatin1(unit)), nRow, nColumn++);
    }
    auto* pStep = new QProgressBar;
    pStep->setValue(0);
    pTimes->addWidget(new QLabel(QStringLiteral("Step")), 0, 4);
    pTimes->addWidget(pStep, 0, 5);
    auto* pAll = new QProgressBar;
    pAll->setValue(0);
    pTimes->addWidget(new QLabel(QStringLiteral("All")), 1, 4);
    pTimes->addWidget(pAll, 1, 5);
    auto* pLamp = new QLabel;
    pLamp->setPixmap(Filled(32, 48, Qt::darkGreen));
    pTimes->addWidget(pLamp, 0, 6, 3, 1);
    pTimes->addWidget(new QLabel(QStringLiteral("LINE ON")), 0, 7);
    pTimes->addWidget(new QLabel(QStringLiteral("LINE OFF")), 2, 7);
    for (int i = 0; i < 3; ++i) {
        auto* pButton = new QToolButton;
        pButton->setIconSize(QSize(40, 40));
        pButton->setIcon(QIcon(Filled(40, 40, QColor::fromHsv(i * 100, 180, 160))));
        pTimes->addWidget(pButton, 0, 8 + i, 3, 1);
    }
    auto* pBar = Tight(new QHBoxLayout);
    pBar->addWidget(new QPushButton(QStringLiteral("Report")));
    pBar->addStretch();
    auto* pJudgment = new QComboBox;
    pJudgment->addItems({QStringLiteral("------"), QStringLiteral("PASS"), QStringLiteral("FAIL")});
    pBar->addWidget(pJudgment);
    pBar->addWidget(new QPushButton(QStringLiteral("Judge All")));
    pBar->addWidget(new QPushButton(QStringLiteral("Clear Comments")));
    pLayout->addLayout(pBar);
    auto* pTable = new QTableWidget(1, 8);
    pTable->setHorizontalHeaderLabels({"Step", "Judgment", "Voltage [V]", "Polarity", "Frequency [kHz]",
                                       "Burst duration [ms]", "Phase", "Comment"});
    for (int nColumn = 0; nColumn < 8; ++nColumn)
        pTable->setItem(0, nColumn, new QTableWidgetItem(QStringLiteral("500")));
    pLayout->addWidget(pTable, 1);
    auto* pChart = new QFrame;
    pChart->setMinimumHeight(80);
    pChart->setFrameShape(QFrame::Box);
    pLayout->addWidget(pChart);
    return pPanel;
}

// Another screen, made but not shown, as the program makes its others.
QWidget* HiddenScreen() {
    auto* pScreen = new QWidget;
    auto* pGrid = Tight(new QGridLayout(pScreen));
    for (int nLevel = 0; nLevel < 30; ++nLevel) {
        const int nRow = nLevel % 10;
        const int nColumn = nLevel / 10 * 4;
        pGrid->addWidget(new QLabel(QStringLiteral("Level %1").arg(nLevel + 1)), nRow, nColumn);
        pGrid->addWidget(new QLineEdit(QStringLiteral("1000")), nRow, nColumn + 1);
        pGrid->addWidget(new QCheckBox, nRow, nColumn + 2);
        pGrid->addWidget(new QPushButton(QStringLiteral("...")), nRow, nColumn + 3);
    }
    return pScreen;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QIcon icon;
    for (int nSize : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(Filled(nSize, nSize, QColor(40, 60, 160)));
    QApplication::setWindowIcon(icon);

    auto* pSplash = new QFrame(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    pSplash->setAttribute(Qt::WA_DeleteOnClose);
    pSplash->setFrameShape(QFrame::Box);
    auto* pSplashLayout = new QVBoxLayout(pSplash);
    pSplashLayout->setContentsMargins(24, 20, 24, 20);
    auto* pPicture = new QLabel;
    pPicture->setPixmap(Filled(360, 110, QColor(30, 60, 200)));
    pSplashLayout->addWidget(pPicture);
    for (const char* text : {"Remote Control Software", "Version 1.0", "Copyright"})
        pSplashLayout->addWidget(new QLabel(QString::fromLatin1(text)));

    QMainWindow window;
    for (const char* title : {"&File", "&View", "&Help"}) {
        QMenu* pMenu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 0; i < 7; ++i)
            pMenu->addAction(QStringLiteral("Command %1").arg(i + 1));
    }
    QToolBar* pTools = window.addToolBar(QStringLiteral("Tools"));
    for (int i = 0; i < 5; ++i)
        pTools->addAction(QIcon(Filled(16, 16, QColor::fromHsv(i * 60, 200, 200))), QStringLiteral("Tool %1").arg(i + 1));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.statusBar()->addPermanentWidget(new QLabel(QStringLiteral("Not connected")));
    auto* pTabs = new QTabWidget;
    auto* pFirst = new QWidget;
    auto* pFirstLayout = Tight(new QHBoxLayout(pFirst));
    pFirstLayout->addWidget(TestScreen());
    pFirstLayout->addWidget(RunPanel(), 1);
    pTabs->addTab(HiddenScreen(), QStringLiteral("STANDARD"));
    pTabs->addTab(pFirst, QStringLiteral("MANUAL"));
    pTabs->addTab(new QWidget, QStringLiteral("SEQUENCE"));
    pTabs->addTab(new QWidget, QStringLiteral("SETTINGS"));
    pTabs->setCurrentIndex(1);
    QFont font = QApplication::font();
    font.setPixelSize(14); // the size of the program's screens
    pTabs->setFont(font);
    window.setCentralWidget(pTabs);
    window.resize(1366, 768);

    pSplash->adjustSize();
    if (const QScreen* pScreen = QGuiApplication::primaryScreen())
        pSplash->move(pScreen->availableGeometry().center() - pSplash->rect().center());
    pSplash->show();
    pSplash->raise();
    torvex::WatchFirstPaint(&window);
    window.show();
    return app.exec();
}
