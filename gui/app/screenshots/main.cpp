// Renders every dialog of the program to PNG files, for looking at them
// without a display: torvex_screens OUTPUT_FOLDER [--size WxH] [--lang ja|en] (run with
// QT_QPA_PLATFORM=offscreen). Beside each picture NAME.png, NAME.txt lists the
// texts its widgets show, one a line (line breaks within a text as "\n").
#include "config/CalibrationSetting.h"
#include "config/ContactDefaults.h"
#include "config/IniKeys.h"
#include "config/InstrumentLink.h"
#include "config/Language.h"
#include "config/Profile.h"
#include "config/TestProperty.h"
#include "files/TabCode.h"
#include "files/TorvexDoc.h"
#include "gui/app/AboutDlg.h"
#include "gui/app/MainFrame.h"
#include "gui/app/SplashDlg.h"
#include "gui/app/TorvexView.h"
#include "gui/app/TypeSelectDlg.h"
#include "gui/app/screenshots/VisibleTexts.h"
#include "gui/config/NoticeCalibrationDlg.h"
#include "gui/config/SettingsDlg.h"
#include "gui/journal/HistoryDlg.h"
#include "gui/results/ExecListDlg.h"
#include "gui/results/JudgeDlg.h"
#include "gui/screens/SequenceListDlg.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/MessageBoxDialog.h"
#include "gui/widgets/Pictures.h"
#include "instrument/TorvexCntl.h"
#include "run/SequenceListLogic.h"
#include "session/Session.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

using namespace torvex;

namespace {

bool Save(QWidget& widget, const QString& strFolder, const QString& strName) {
    widget.show();
    QApplication::processEvents();
    const QString path = strFolder + QLatin1Char('/') + strName + QStringLiteral(".png");
    bool bSaved = widget.grab().save(path);
    QFile texts(strFolder + QLatin1Char('/') + strName + QStringLiteral(".txt"));
    bSaved &= texts.open(QIODevice::WriteOnly | QIODevice::Truncate);
    for (const QString& text : VisibleTexts(&widget)) {
        QString line = text;
        line.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        texts.write(line.toUtf8() + '\n');
    }
    bSaved &= texts.error() == QFileDevice::NoError;
    std::printf("%s %s\n", bSaved ? "wrote" : "FAILED", qPrintable(path));
    widget.hide();
    return bSaved;
}

// Every picture on one sheet, at twice its size, on light and dark grounds.
QPixmap PictureSheet() {
    const QList<QPixmap> pictures = {StartPlayPicture(),
                                     StartPausePicture(),
                                     StopPicture(),
                                     LinePicture(true, true),
                                     LinePicture(false, true),
                                     LinePicture(true, false),
                                     LinePicture(false, false),
                                     LampPicture(true),
                                     LampPicture(false),
                                     ProgramIconPicture(64),
                                     GroupPicture(GROUP_PICTURE_VOLTAGE),
                                     GroupPicture(GROUP_PICTURE_FREQUENCY),
                                     GroupPicture(GROUP_PICTURE_TIME),
                                     GroupPicture(GROUP_PICTURE_COUPLING),
                                     GroupPicture(GROUP_PICTURE_SPECIAL),
                                     LoadFolderPicture()};
    const int nCell = 140;
    QPixmap sheet(nCell * 8, nCell * 2 + 240);
    sheet.fill(QColor(240, 240, 240));
    QPainter painter(&sheet);
    for (int i = 0; i < pictures.size(); ++i) {
        const QPixmap big = pictures[i].scaled(pictures[i].size() * 2);
        const QPoint cell((i % 8) * nCell, (i / 8) * nCell);
        painter.drawPixmap(cell + QPoint((nCell - big.width()) / 2, (nCell - big.height()) / 2), big);
    }
    painter.drawPixmap(20, nCell * 2 + 10, SplashPicture());
    return sheet;
}

} // namespace

int main(int argc, char** argv) {
    // A private settings file: previews never change the user's settings.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/.config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));

    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString lang, error;
    if (!TakeLanguageOption(args, lang, error)) {
        std::fprintf(stderr, "torvex_screens: %s\n", qPrintable(error));
        return 2;
    }
    InstallLanguage(lang);
    InstallFontSubstitutions();
    if (args.size() > 1 && args[0] == QLatin1String("--icon")) // the icon file the install rules ship
        return ProgramIconPicture(256).save(args[1]) ? 0 : 1;
    const QString folder = !args.isEmpty() ? args[0] : QStringLiteral("screens");
    // --size WxH: the main window's size in logical pixels (a small display, or
    // a scaled one, which has fewer of them); the program's own size otherwise.
    QSize windowSize(1366, 768);
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--size")) {
            const QStringList wh = args[i + 1].split(QLatin1Char('x'));
            if (wh.size() == 2) windowSize = QSize(wh[0].toInt(), wh[1].toInt());
        }
    QDir().mkpath(folder);
    bool bOk = true;

    WriteContactDefaults();
    WriteProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE_CALIBRATION, QStringLiteral("1"));
    WriteProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_SERIAL, QStringLiteral("K2-000123"));
    // The log folder as an operator's machine shows it, not the temporary home
    // (these pictures illustrate the manual).
    WriteProfileValue(INI_SECTION_PROPERTY, INI_KEY_FOLDER,
                      QStringLiteral("/home/operator/Documents/Kelvora/TORVEX_Pilot/LOG/"));

    {
        const QString path = folder + QStringLiteral("/pictures.png");
        const bool bSaved = PictureSheet().save(path);
        std::printf("%s %s\n", bSaved ? "wrote" : "FAILED", qPrintable(path));
        bOk &= bSaved;
    }
    {
        int32_t bNotConnected = 0;
        CTypeSelectDlg dialog(bNotConnected);
        bOk &= Save(dialog, folder, QStringLiteral("type_select"));
    }
    {
        auto* pSplash = new CSplashDlg;
        pSplash->adjustSize();
        bOk &= Save(*pSplash, folder, QStringLiteral("splash"));
        pSplash->CloseSplash();
    }
    {
        CAboutDlg about;
        bOk &= Save(about, folder, QStringLiteral("about"));
    }
    {
        CCalibrationSetting calib;
        calib.m_nNextYear = 2020;
        calib.m_nNextMonth = 2;
        calib.m_nNextDay = 29;
        const QDateTime now = QDateTime::currentDateTime();
        calib.IsNoticeDue(now);
        CNoticeCalibrationDlg notice(calib, now);
        bOk &= Save(notice, folder, QStringLiteral("notice_calibration"));
    }
    {
        CJudgeDlg judge(JUDGE_FAIL, QStringLiteral("EUT reset at 2 kV"));
        bOk &= Save(judge, folder, QStringLiteral("judge"));
    }
    {
        // A question as the program asks it, with Qt's own buttons.
        QMessageBox box(QMessageBox::Question, QStringLiteral("TORVEX_Pilot"),
                        QCoreApplication::translate("TorvexDoc", "%1 への変更を保存しますか?")
                            .arg(QCoreApplication::translate("TorvexDoc", "無題.tvxs")),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        bOk &= Save(box, folder, QStringLiteral("question"));
    }
    {
        // Qt's own file dialog, as an open or save of a data file shows it.
        QFileDialog files(nullptr, QCoreApplication::translate("TorvexDoc", "開く"), home.path());
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setNameFilters(CTorvexDoc::DataFileFilters());
        files.resize(760, 460);
        bOk &= Save(files, folder, QStringLiteral("file_dialog"));
    }
    {
        qputenv("TORVEX_PORTS_ONLY", "1");
        CMessageBoxDialog dialog;
        CSession session(dialog);
        CHistoryDlg history(session.Journal(), dialog);
        bOk &= Save(history, folder, QStringLiteral("history"));
    }
    {
        qputenv("TORVEX_PORTS_ONLY", "1");
        CMessageBoxDialog dialog;
        CSession session(dialog);
        session.Calibration().Load();
        session.SetMachineType(1);
        session.SetNotConnected(true);
        CSettingsDlg page(session);
        // The area the page gets in the main window.
        page.resize(1340, 640);
        bOk &= Save(page, folder, QStringLiteral("settings"));
    }
    {
        // The main window on each tab, without an instrument.
        qputenv("TORVEX_PORTS_ONLY", "1");
        CMessageBoxDialog dialog;
        CSession session(dialog);
        session.Calibration().Load();
        session.SetMachineType(1);
        CTorvexDoc& doc = session.Doc();
        doc.NewDocument();
        CMainFrame frame(session);
        frame.resize(windowSize);
        const char* names[] = {"main_standard", "main_manual", "main_sequence", "main_settings"};
        for (int tab = TAB_STANDARD; tab <= TAB_SETTINGS; ++tab) {
            frame.View()->SelectTab(tab);
            frame.show();
            for (int i = 0; i < 5; ++i)
                QApplication::processEvents();
            bOk &= Save(frame, folder, QString::fromLatin1(names[tab]));
        }
        // MANUAL with a plan of many steps, some judged, the fourth one current.
        {
            CSettingData& c = doc.m_settingManual;
            c.m_ulPola = 3;
            c.m_valVolt = VALUE_STRUCT{VALUE_VARIABLE, 500, 0, 0, 0, {1, 1, 1, 1, 0}, {250, 500, 1000, 2000, 0}};
            c.m_valFreq = VALUE_STRUCT{VALUE_VARIABLE, 5000, 0, 0, 0, {1, 1, 0, 0, 0}, {5000, 100000, 0, 0, 0}};
            frame.View()->SelectTab(TAB_MANUAL);
            frame.View()->RefreshManual();
            for (size_t i = 0; i < c.m_listExec.size() && i < 7; ++i)
                c.m_listExec[i].m_nJudge = i == 5 ? JUDGE_FAIL : JUDGE_PASS;
            frame.View()->StepList()->FillList(c.m_listExec);
            frame.View()->StepList()->SelectRow(7);
            frame.show();
            for (int i = 0; i < 5; ++i)
                QApplication::processEvents();
            bOk &= Save(frame, folder, QStringLiteral("main_manual_plan"));
            doc.NewDocument();
            frame.View()->RefreshManual();
        }
        // The SEQUENCE tab with a loaded sequence file, its second entry selected.
        frame.View()->SelectTab(TAB_SEQUENCE);
        const QString examples = QStringLiteral(TORVEX_SOURCE_DIR "/examples/");
        if (doc.ReadSequenceFile(examples + QStringLiteral("two_tests.tvxs"))) {
            CSequenceListLogic& logic = frame.View()->SequenceList()->Logic();
            doc.m_sequence.Entry(0)->m_listExec[0].m_nJudge = JUDGE_PASS;
            logic.Activate();
            logic.OnSelect(1);
            frame.show();
            for (int i = 0; i < 5; ++i)
                QApplication::processEvents();
            bOk &= Save(frame, folder, QStringLiteral("main_sequence_loaded"));
            logic.OnSelect(0);
            bOk &= Save(frame, folder, QStringLiteral("main_sequence_entry1"));
        }
    }
    return bOk ? 0 : 1;
}
