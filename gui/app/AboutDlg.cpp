#include "gui/app/AboutDlg.h"

#include "gui/widgets/Fonts.h"
#include "gui/widgets/Pictures.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace torvex {

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(tr("バージョン情報"));
    setFont(UiFont(13));

    auto* pLayout = new QGridLayout(this);
    pLayout->setHorizontalSpacing(16);
    auto* pIcon = new QLabel(this);
    pIcon->setPixmap(ProgramIconPicture(48));
    pIcon->setAlignment(Qt::AlignTop);
    pLayout->addWidget(pIcon, 0, 0, 3, 1);
    pLayout->addWidget(new QLabel(tr("TORVEX用　リモートコントロールソフトウェア"), this), 0, 1);
    pLayout->addWidget(new QLabel(QStringLiteral("TORVEX Pilot, Version " TORVEX_VERSION), this), 1, 1);
    pLayout->addWidget(new QLabel(QStringLiteral("Copyright (C) Kelvora"), this), 2, 1);

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    pLayout->addWidget(pButtons, 0, 2, 1, 1, Qt::AlignTop);
    setFixedSize(sizeHint());
}

} // namespace torvex
