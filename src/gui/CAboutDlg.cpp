#include "gui/CAboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "Version.h"

namespace brisna {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于QuorviQbr制作工具"));
    setObjectName(QStringLiteral("CAboutDlg"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("aboutPicture"));
    picture->setPixmap(QPixmap(QStringLiteral(":/brisna/about.png")));

    auto* version = new QLabel(
        QStringLiteral("Quorvi Ebook 编辑工具 Ver ") + QString::fromLatin1(kVersion), this);
    auto* publisher = new QLabel(QStringLiteral("BrisnaMake 电子书制作组"), this);
    auto* copyright =
        new QLabel(QStringLiteral("Copyright © 2026 BrisnaMake developers（MIT 许可证）"), this);
    copyright->setObjectName(QStringLiteral("aboutCopyright"));
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(publisher);
    texts->addStretch();
    texts->addWidget(copyright);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    top->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    setLayout(layout);
}

}  // namespace brisna
