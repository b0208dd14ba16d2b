#include "gui/config/SettingsDlg.h"

#include "config/CalibrationSetting.h"
#include "config/IniKeys.h"
#include "config/InstrumentLink.h"
#include "config/Language.h"
#include "config/Profile.h"
#include "config/Reconnect.h"
#include "config/SettingsLogic.h"
#include "config/TestInfoFields.h"
#include "config/TestProperty.h"
#include "gui/widgets/Fonts.h"
#include "gui/widgets/GroupBox.h"
#include "gui/widgets/LeaveLineEdit.h"
#include "gui/widgets/NumericLineEdit.h"
#include "gui/widgets/ThemeColours.h"
#include "gui/widgets/TooltipSwitch.h"
#include "model/OperatorDialog.h"
#include "session/Session.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace torvex {

namespace {

const int kPeriodWidth = 48;

QString ChooseFolderWithDialog(QWidget* pParent, const QString& strStart) {
    return QFileDialog::getExistingDirectory(pParent, CSettingsDlg::tr("フォルダ設定"), strStart,
                                             QFileDialog::ShowDirsOnly);
}

QLabel* Caption(const QString& strText, QWidget* pParent) {
    return new QLabel(strText, pParent);
}

} // namespace

CSettingsDlg::CSettingsDlg(CSession& session, QWidget* pParent)
    : QWidget(pParent), m_chooseFolder(ChooseFolderWithDialog), m_session(session) {
    setFont(UiFont(13));

    // The page scrolls when the window is smaller than its controls.
    auto* pOuter = new QVBoxLayout(this);
    pOuter->setContentsMargins(0, 0, 0, 0);
    auto* pScroll = new QScrollArea(this);
    pScroll->setWidgetResizable(true);
    pScroll->setFrameShape(QFrame::NoFrame);
    pOuter->addWidget(pScroll);
    auto* pContent = m_pContent = new QWidget(pScroll);
    pScroll->setWidget(pContent);

    auto* pColumns = new QHBoxLayout(pContent);
    pColumns->setContentsMargins(10, 10, 10, 10);
    pColumns->setSpacing(12);
    auto* pLeft = new QVBoxLayout;
    pLeft->setSpacing(10);
    pLeft->addWidget(MakeConnectionGroup());
    pLeft->addWidget(MakeFunctionGroup());
    pLeft->addWidget(MakeCalibrationGroup());
    pLeft->addWidget(MakeLogGroup());
    pLeft->addStretch();
    pColumns->addLayout(pLeft);
    auto* pRight = new QVBoxLayout;
    pRight->addWidget(MakeTestInfoGroup());
    pRight->addWidget(MakeLanguageGroup(), 0, Qt::AlignLeft);
    pRight->addStretch();
    pColumns->addLayout(pRight, 1);

    FillControls();

    connect(m_pReconnect, &QPushButton::clicked, this, &CSettingsDlg::OnReconnect);
    connect(m_pUseTips, &QCheckBox::toggled, this, &CSettingsDlg::OnUseTips);
    connect(m_pStopEveryStep, &QCheckBox::toggled, this, &CSettingsDlg::OnStopEveryStep);
    connect(m_pCalibModel, &QComboBox::currentIndexChanged, this, [](int nIndex) {
        WriteProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE_CALIBRATION,
                          QString::number(nIndex));
    });
    connect(m_pMachineSerial, &CLeaveLineEdit::left, this, [this] {
        WriteProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_SERIAL, m_pMachineSerial->text());
    });
    connect(m_pNotice1, &QCheckBox::toggled, this,
            [this](bool bOn) { m_session.Calibration().SetNotice1(bOn); });
    connect(m_pNotice2, &QCheckBox::toggled, this,
            [this](bool bOn) { m_session.Calibration().SetNotice2(bOn); });
    connect(m_pDays1, &CLeaveLineEdit::left, this, [this] { OnPeriodLeft(1); });
    connect(m_pDays2, &CLeaveLineEdit::left, this, [this] { OnPeriodLeft(2); });
    connect(m_pChangeLast, &QPushButton::clicked, this, &CSettingsDlg::OnChangeLastDate);
    connect(m_pChangeNext, &QPushButton::clicked, this, &CSettingsDlg::OnChangeNextDate);
    connect(m_pCalendar, &QCalendarWidget::selectionChanged, this, [this] {
        const QDate date = m_pCalendar->selectedDate();
        m_nCalYear = date.year();
        m_nCalMonth = date.month();
        m_nCalDay = date.day();
    });
    connect(m_pLogOn, &QCheckBox::toggled, this, [this](bool bOn) { m_logSetting.SetLogOn(bOn); });
    connect(m_pChooseFolder, &QPushButton::clicked, this, &CSettingsDlg::OnChooseFolder);
    // Stored only when the operator picks a choice; it counts from the next start.
    connect(m_pLanguage, &QComboBox::activated, this,
            [this](int nIndex) { SetLanguageChoice(m_pLanguage->itemData(nIndex).toString()); });

    // Enter moves on and Esc does nothing anywhere on the page.
    for (QWidget* pChild : findChildren<QWidget*>())
        pChild->installEventFilter(this);
}

QWidget* CSettingsDlg::MakeConnectionGroup() {
    auto* pGroup = new CGroupBox(tr("接続状態"), this);
    auto* pRow = new QHBoxLayout;
    m_pModelName = new QLabel(pGroup);
    m_pModelName->setMinimumWidth(90);
    m_pConnection = new QLineEdit(pGroup);
    m_pConnection->setReadOnly(true);
    // Wide enough for either state's text in the interface's language.
    const QFontMetrics metrics(m_pConnection->font());
    m_pConnection->setFixedWidth(std::max(
        70, std::max(metrics.horizontalAdvance(tr("接続")), metrics.horizontalAdvance(tr("未接続"))) + 16));
    m_pConnection->setFocusPolicy(Qt::NoFocus);
    m_pDemoMode = new QLabel(tr("デモモード"), pGroup);
    {
        QPalette pal = m_pDemoMode->palette();
        pal.setColor(QPalette::WindowText, WarningTextColour(pal));
        m_pDemoMode->setPalette(pal);
        QFont bold = m_pDemoMode->font();
        bold.setBold(true);
        m_pDemoMode->setFont(bold);
    }
    m_pReconnect = new QPushButton(tr("再接続"), pGroup);
    m_pReconnect->setToolTip(tr("機器を探して接続し直します。"));
    CTooltipSwitch::MarkSwitchable(m_pReconnect);
    pRow->addWidget(m_pModelName);
    pRow->addWidget(m_pConnection);
    pRow->addWidget(m_pDemoMode);
    pRow->addStretch();
    pRow->addWidget(m_pReconnect);
    pGroup->Body()->addLayout(pRow);
    return pGroup;
}

QWidget* CSettingsDlg::MakeFunctionGroup() {
    auto* pGroup = new CGroupBox(tr("その他の機能設定"), this);
    m_pUseTips = new QCheckBox(tr("カーソルを合わせたときに設定情報を吹き出し表示する"), pGroup);
    m_pStopEveryStep = new QCheckBox(tr("ステップごとに試験を停止する"), pGroup);
    pGroup->Body()->addWidget(m_pUseTips);
    pGroup->Body()->addWidget(m_pStopEveryStep);
    return pGroup;
}

QWidget* CSettingsDlg::MakeLanguageGroup() {
    auto* pGroup = new CGroupBox(tr("表示言語"), this);
    auto* pRow = new QHBoxLayout;
    m_pLanguage = new QComboBox(pGroup);
    m_pLanguage->addItem(tr("自動"), QString::fromLatin1(kLanguageAuto));
    m_pLanguage->addItem(tr("日本語"), QString::fromLatin1(kLanguageJapanese));
    m_pLanguage->addItem(tr("English"), QString::fromLatin1(kLanguageEnglish));
    m_pLanguage->setCurrentIndex(std::max(0, m_pLanguage->findData(LanguageChoice())));
    m_pLanguage->setToolTip(tr("自動：システムの言語が日本語なら日本語、それ以外は英語で表示します。"));
    CTooltipSwitch::MarkSwitchable(m_pLanguage);
    pRow->addWidget(m_pLanguage);
    pRow->addWidget(new QLabel(tr("次回の起動から有効になります。"), pGroup));
    pRow->addStretch();
    pGroup->Body()->addLayout(pRow);
    return pGroup;
}

QWidget* CSettingsDlg::MakeCalibrationGroup() {
    auto* pGroup = new CGroupBox(tr("校正時期お知らせ機能設定"), this);
    auto* pGrid = new QGridLayout;
    pGrid->setHorizontalSpacing(6);
    pGrid->setVerticalSpacing(6);

    m_pCalibModel = new QComboBox(pGroup);
    m_pCalibModel->addItems({QString(), QStringLiteral("TORVEX-K2"), QStringLiteral("TORVEX-K1")});
    m_pCalibModel->setMinimumWidth(110);
    m_pMachineSerial = new CLeaveLineEdit(pGroup);
    pGrid->addWidget(Caption(tr("TORVEX   型式"), pGroup), 0, 0);
    pGrid->addWidget(m_pCalibModel, 0, 1, 1, 2);
    pGrid->addWidget(Caption(tr("シリアル番号"), pGroup), 1, 0);
    pGrid->addWidget(m_pMachineSerial, 1, 1, 1, 3);

    auto addReminder = [&](int nRow, QCheckBox*& rpCheck, CNumericLineEdit*& rpDays) {
        rpCheck = new QCheckBox(tr("校正予定日の"), pGroup);
        rpDays = new CNumericLineEdit(pGroup);
        rpDays->setFixedWidth(kPeriodWidth);
        rpDays->setAlignment(Qt::AlignRight);
        rpDays->setMaxLength(7);
        rpDays->setToolTip(tr("0～999日"));
        CTooltipSwitch::MarkSwitchable(rpDays);
        pGrid->addWidget(rpCheck, nRow, 0);
        pGrid->addWidget(rpDays, nRow, 1);
        pGrid->addWidget(Caption(tr("日前からお知らせ"), pGroup), nRow, 2, 1, 2);
    };
    addReminder(2, m_pNotice1, m_pDays1);
    addReminder(3, m_pNotice2, m_pDays2);

    auto addDate = [&](int nRow, const QString& strCaption, QLabel*& rpDate, QPushButton*& rpButton) {
        rpDate = new QLabel(pGroup);
        rpDate->setMinimumWidth(110);
        rpButton = new QPushButton(tr("変更"), pGroup);
        pGrid->addWidget(Caption(strCaption, pGroup), nRow, 0);
        pGrid->addWidget(rpDate, nRow, 1, 1, 2);
        pGrid->addWidget(rpButton, nRow, 3);
    };
    addDate(4, tr("前回校正日："), m_pLastDate, m_pChangeLast);
    addDate(5, tr("校正予定日："), m_pNextDate, m_pChangeNext);
    m_pChangeLast->setToolTip(tr("カレンダーで選んだ日を前回校正日にします。"));
    m_pChangeNext->setToolTip(tr("カレンダーで選んだ日を校正予定日にします。"));
    CTooltipSwitch::MarkSwitchable(m_pChangeLast);
    CTooltipSwitch::MarkSwitchable(m_pChangeNext);
    pGrid->setRowStretch(6, 1);

    m_pCalendar = new QCalendarWidget(pGroup);
    m_pCalendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_pCalendar->setGridVisible(true);
    m_pCalendar->setLocale(InterfaceLocale());
    // The locale starts the weeks on Sunday, and Qt moves the grid without
    // moving the highlight: today's cell would show the day before as chosen
    // while the buttons store today. Selecting today again puts the two in step.
    m_pCalendar->setSelectedDate(QDate::currentDate());
    m_pCalendar->setFixedSize(m_pCalendar->sizeHint().expandedTo(QSize(250, 180)));

    auto* pRow = new QHBoxLayout;
    pRow->addLayout(pGrid);
    pRow->addSpacing(8);
    pRow->addWidget(m_pCalendar, 0, Qt::AlignTop);
    pGroup->Body()->addLayout(pRow);
    return pGroup;
}

QWidget* CSettingsDlg::MakeLogGroup() {
    auto* pGroup = new CGroupBox(tr("試験ログ保存設定"), this);
    m_pLogOn = new QCheckBox(tr("試験ログ保存機能ON"), pGroup);
    m_pLogFolder = new QLabel(pGroup);
    m_pLogFolder->setFrameShape(QFrame::StyledPanel);
    m_pLogFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pLogFolder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_pChooseFolder = new QPushButton(tr("フォルダ設定"), pGroup);
    auto* pRow = new QHBoxLayout;
    pRow->addWidget(m_pLogFolder, 1);
    pRow->addWidget(m_pChooseFolder);
    pGroup->Body()->addWidget(m_pLogOn);
    pGroup->Body()->addLayout(pRow);
    return pGroup;
}

QWidget* CSettingsDlg::MakeTestInfoGroup() {
    auto* pGroup = new CGroupBox(tr("試験データ出力用試験情報"), this);
    auto* pForm = new QGridLayout;
    pForm->setHorizontalSpacing(8);
    const QStringList captions = {tr("企業名"),       tr("試験場所"), tr("品名/型名"),
                                  tr("シリアル番号"), tr("試験者名"), tr("規格名"),
                                  tr("温度"),         tr("湿度"),     tr("気圧")};
    // Two fields to a row.
    for (int i = 0; i < kTestInfoFieldCount; ++i) {
        auto* pEdit = new CLeaveLineEdit(pGroup);
        m_apTestInfo.append(pEdit);
        pForm->addWidget(Caption(captions[i], pGroup), i / 2, (i % 2) * 2);
        pForm->addWidget(pEdit, i / 2, (i % 2) * 2 + 1);
    }
    pForm->setColumnStretch(1, 1);
    pForm->setColumnStretch(3, 1);
    pGroup->Body()->addLayout(pForm);

    // The equipment: one row per box, the same five fields in each.
    auto* pEquipment = new QGroupBox(tr("試験機器"), pGroup);
    auto* pGrid = new QGridLayout(pEquipment);
    pGrid->setHorizontalSpacing(6);
    const QStringList columns = {tr("機器"), tr("型名"), tr("シリアル番号"), tr("最終校正日"),
                                 tr("校正周期")};
    const QStringList boxes = {tr("試験器"), tr("オプション1"), tr("オプション2"), tr("オプション3")};
    for (int nColumn = 0; nColumn < columns.size(); ++nColumn) {
        pGrid->addWidget(Caption(columns[nColumn], pEquipment), 0, nColumn + 1);
        pGrid->setColumnStretch(nColumn + 1, 1);
    }
    for (int nBox = 0; nBox < boxes.size(); ++nBox) {
        pGrid->addWidget(Caption(boxes[nBox], pEquipment), nBox + 1, 0);
        for (int nColumn = 0; nColumn < columns.size(); ++nColumn) {
            QWidget* pField = nullptr;
            if (nBox == 0 && nColumn == 0) {
                pField = new QLabel(tr("EFT/B試験器"), pEquipment);
            } else if (nBox == 0 && nColumn == 1) {
                m_pTesterModel = new QLabel(pEquipment);
                pField = m_pTesterModel;
            } else {
                auto* pEdit = new QLineEdit(pEquipment);
                m_apTestInfo.append(pEdit);
                pField = pEdit;
            }
            pGrid->addWidget(pField, nBox + 1, nColumn + 1);
        }
    }
    pGroup->Body()->addWidget(pEquipment);
    return pGroup;
}

void CSettingsDlg::FillControls() {
    CCalibrationSetting& calib = m_session.Calibration();
    const QString modelName = m_session.Link().ModelName(m_session.MachineType());
    m_pModelName->setText(modelName);
    ShowConnected(m_session.Link().IsOpen());

    const int nCalibModel = ParseLeadingInt(
        ReadProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_TYPE_CALIBRATION, QStringLiteral("0")));
    m_pCalibModel->setCurrentIndex(nCalibModel >= 0 && nCalibModel < m_pCalibModel->count() ? nCalibModel
                                                                                            : 0);
    m_pMachineSerial->setText(ReadProfileValue(INI_SECTION_MACHINE_TYPE, INI_KEY_MACHINE_SERIAL, QString()));

    m_pNotice1->setChecked(calib.m_bNotice1);
    m_pNotice2->setChecked(calib.m_bNotice2);
    m_pDays1->setText(QString::number(calib.m_nDays1));
    m_pDays2->setText(QString::number(calib.m_nDays2));
    m_pLastDate->setText(FormatCalDate(calib.m_nLastYear, calib.m_nLastMonth, calib.m_nLastDay));
    m_pNextDate->setText(FormatCalDate(calib.m_nNextYear, calib.m_nNextMonth, calib.m_nNextDay));

    m_logSetting.LoadLogSetting();
    m_pLogOn->setChecked(m_logSetting.m_bLogOn);
    m_pLogFolder->setText(QDir::toNativeSeparators(m_logSetting.m_strLogFolder));

    const QDate today = m_pCalendar->selectedDate();
    m_nCalYear = today.year();
    m_nCalMonth = today.month();
    m_nCalDay = today.day();

    m_pDemoMode->setVisible(m_session.NotConnected());

    // Test information, then the equipment; an equipment field stores on every
    // change, so filling it also fills the record and rewrites its key.
    m_pTesterModel->setText(modelName);
    const QVector<TEST_INFO_FIELD>& fields = TestInfoFields();
    for (int i = 0; i < fields.size(); ++i) {
        QLineEdit* pEdit = m_apTestInfo[i];
        const TEST_INFO_FIELD& field = fields[i];
        auto store = [this, pEdit, &field] {
            StoreTestInfoField(field, m_session.Property(), pEdit->text());
        };
        if (field.m_bOnEveryChange) {
            connect(pEdit, &QLineEdit::textChanged, this, store);
        } else {
            connect(static_cast<CLeaveLineEdit*>(pEdit), &CLeaveLineEdit::left, this, store);
        }
        pEdit->setText(ReadTestInfoField(field));
    }

    const bool bTips = LoadFlagDefaultOn(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS);
    m_pUseTips->setChecked(bTips);
    CTooltipSwitch::Instance().SetOn(bTips);

    const bool bStop = LoadFlagDefaultOn(INI_SECTION_INITIAL_STATE, INI_KEY_STOP_EVERY_TIME);
    m_pStopEveryStep->setChecked(bStop);
    m_session.Engine().SetStopEveryStep(bStop);
}

bool CSettingsDlg::TooltipsOn() const {
    return m_pUseTips->isChecked();
}

bool CSettingsDlg::StopEveryStep() const {
    return m_pStopEveryStep->isChecked();
}

void CSettingsDlg::CommitEdits() {
    // A field left by closing the program gets no focus-out of its own.
    if (QWidget* pFocus = focusWidget()) {
        if (auto* pEdit = qobject_cast<CLeaveLineEdit*>(pFocus)) emit pEdit->left();
    }
}

void CSettingsDlg::hideEvent(QHideEvent* pEvent) {
    CommitEdits();
    QWidget::hideEvent(pEvent);
}

void CSettingsDlg::ShowConnected(bool bConnected) {
    m_pConnection->setText(bConnected ? tr("接続") : tr("未接続"));
}

void CSettingsDlg::ShowNotConnected() {
    ShowConnected(false);
    m_pDemoMode->setVisible(true);
}

void CSettingsDlg::OnReconnect() {
    switch (m_session.Reconnect()) {
    case RECONNECT_NOT_FOUND:
    case RECONNECT_OTHER_MODEL:
        ShowConnected(false);
        break;
    case RECONNECT_QUERY_FAILED:
        break;
    case RECONNECT_CONNECTED: {
        const QString modelName = m_session.Link().ModelName(m_session.MachineType());
        m_pModelName->setText(modelName);
        m_pTesterModel->setText(modelName);
        ShowConnected(true);
        m_pDemoMode->setVisible(false);
        QWidget* pWindow = window();
        pWindow->setWindowTitle(TitleAfterReconnect(pWindow->windowTitle()));
        break;
    }
    }
}

void CSettingsDlg::OnPeriodLeft(int nReminder) {
    CNumericLineEdit* pEdit = nReminder == 1 ? m_pDays1 : m_pDays2;
    const int nDays = ParsePeriodDays(pEdit->text());
    pEdit->setText(QString::number(nDays));
    if (nReminder == 1)
        m_session.Calibration().SaveDays1(nDays);
    else
        m_session.Calibration().SaveDays2(nDays);
}

void CSettingsDlg::OnChangeLastDate() {
    if (!m_session.Dialog().AskYesNo(tr("前回校正日を変更してもよろしいですか。\n"
                                        "変更すると校正予定日が前回校正日の1年後に自動で変更されます。")))
        return;
    const CCalibrationSetting& calib = m_session.Calibration();
    calib.SaveLastDate(m_nCalYear, m_nCalMonth, m_nCalDay);
    m_pLastDate->setText(FormatCalDate(m_nCalYear, m_nCalMonth, m_nCalDay));
    int nYear = 0, nMonth = 0, nDay = 0;
    NextCalibrationDate(m_nCalYear, m_nCalMonth, m_nCalDay, &nYear, &nMonth, &nDay);
    calib.SaveNextDate(nYear, nMonth, nDay);
    m_pNextDate->setText(FormatCalDate(nYear, nMonth, nDay));
}

void CSettingsDlg::OnChangeNextDate() {
    m_session.Calibration().SaveNextDate(m_nCalYear, m_nCalMonth, m_nCalDay);
    m_pNextDate->setText(FormatCalDate(m_nCalYear, m_nCalMonth, m_nCalDay));
}

void CSettingsDlg::OnChooseFolder() {
    const QString start =
        m_logSetting.m_strLogFolder.isEmpty() ? QDir::homePath() : m_logSetting.m_strLogFolder;
    const QString folder = m_chooseFolder(this, start);
    if (folder.isEmpty()) return;
    m_logSetting.SetLogFolder(QDir::fromNativeSeparators(folder));
    m_pLogFolder->setText(QDir::toNativeSeparators(m_logSetting.m_strLogFolder));
}

void CSettingsDlg::OnUseTips(bool bOn) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_USE_TIPS, OnOffText(bOn));
    CTooltipSwitch::Instance().SetOn(bOn);
    emit TooltipsSwitched(bOn);
}

void CSettingsDlg::OnStopEveryStep(bool bOn) {
    WriteProfileValue(INI_SECTION_INITIAL_STATE, INI_KEY_STOP_EVERY_TIME, OnOffText(bOn));
    m_session.Engine().SetStopEveryStep(bOn);
    emit StopEveryStepSwitched(bOn);
}

bool CSettingsDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyPress) {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->modifiers() == Qt::NoModifier || pKey->modifiers() == Qt::KeypadModifier) {
            if (pKey->key() == Qt::Key_Return || pKey->key() == Qt::Key_Enter) {
                focusNextChild();
                return true;
            }
            if (pKey->key() == Qt::Key_Escape) return true;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

QSize CSettingsDlg::sizeHint() const {
    return m_pContent ? m_pContent->sizeHint() : QWidget::sizeHint();
}

} // namespace torvex
