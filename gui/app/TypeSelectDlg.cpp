#include "gui/app/TypeSelectDlg.h"

#include "config/ModelChoice.h"
#include "gui/widgets/Fonts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace torvex {

CTypeSelectDlg::CTypeSelectDlg(int32_t& rbNotConnected, QWidget* pParent)
    : QDialog(pParent), m_rbNotConnected(rbNotConnected) {
    setWindowTitle(tr("モデル選択"));
    setFont(UiFont(13));
    setModal(true);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setSpacing(6);
    auto addLine = [&](const QString& strText) {
        auto* pLabel = new QLabel(strText, this);
        pLayout->addWidget(pLabel);
        return pLabel;
    };
    addLine(tr("TORVEXとの接続に失敗しました。"));
    addLine(tr("電源と通信ケーブルを確認してください。"));
    pLayout->addSpacing(8);
    addLine(tr(
        " １．アプリケーションを起動する場合はモデルを選択して、[デモモード起動]ボタンを押してください。"));
    addLine(tr("２．再度TORVEXとの接続を行う場合は[リトライ]ボタンを押してください。"));
    addLine(tr("３．終了する場合は[終了]ﾎﾞﾀﾝを押してください。"));
    // Where to look when the cable is fine: the port list says which port is
    // which and why one cannot be opened.
    pLayout->addSpacing(8);
    QLabel* pHelp = addLine(
        tr("TORVEXがどのシリアルポートにあるか、ポートを開けない理由（dialout グループなど）と対処方法は、\n"
           "端末で「torvex "
           "ports」を実行すると表示されます。詳しくは取扱説明書の「困ったときは」をご覧ください。"));
    pHelp->setObjectName(QStringLiteral("portHelp"));
    pHelp->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* pGroup = new QGroupBox(tr("モデル選択"), this);
    auto* pGroupLayout = new QHBoxLayout(pGroup);
    m_pModelList = new QComboBox(pGroup);
    for (const MODEL_CHOICE& choice : ModelChoices())
        m_pModelList->addItem(choice.m_strText, choice.m_nModelType);
    m_pModelList->setCurrentIndex(ModelChoiceIndex(StoredMachineType()));
    pGroupLayout->addWidget(m_pModelList);
    pGroupLayout->addStretch();

    auto* pDemo = new QPushButton(tr("デモモード起動"), this);
    auto* pRetry = new QPushButton(tr("リトライ"), this);
    auto* pExit = new QPushButton(tr("終了"), this);
    pDemo->setObjectName(QStringLiteral("demo"));
    pRetry->setObjectName(QStringLiteral("retry"));
    pExit->setObjectName(QStringLiteral("exit"));
    pDemo->setDefault(true);
    connect(pDemo, &QPushButton::clicked, this, &CTypeSelectDlg::OnDemo);
    connect(pRetry, &QPushButton::clicked, this, &CTypeSelectDlg::OnRetry);
    connect(pExit, &QPushButton::clicked, this, &CTypeSelectDlg::reject);

    auto* pBottom = new QHBoxLayout;
    pBottom->addWidget(pGroup, 1);
    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(pDemo);
    pButtons->addWidget(pRetry);
    pButtons->addWidget(pExit);
    pBottom->addLayout(pButtons);
    pLayout->addSpacing(8);
    pLayout->addLayout(pBottom);
}

int32_t CTypeSelectDlg::SelectedModelType() const {
    return m_pModelList->currentData().toInt();
}

void CTypeSelectDlg::OnDemo() {
    const int32_t nType = SelectedModelType();
    StoreMachineType(nType);
    m_rbNotConnected = 1;
    done(RESULT_DEMO);
}

void CTypeSelectDlg::OnRetry() {
    done(RESULT_RETRY);
}

void CTypeSelectDlg::reject() {
    done(RESULT_EXIT);
}

} // namespace torvex
