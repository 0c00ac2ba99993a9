#include "gui/CAboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "Version.h"
#include "gui/GuiMessages.h"

namespace brisna {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(gui::captions::kAboutTitle));
    setObjectName(QStringLiteral("CAboutDlg"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("aboutPicture"));
    picture->setPixmap(QPixmap(QStringLiteral(":/brisna/about.png")));

    auto* version = new QLabel(
        QString::fromUtf8(gui::captions::kAboutVersion) + QString::fromLatin1(kVersion), this);
    auto* publisher = new QLabel(QString::fromUtf8(gui::captions::kAboutPublisher), this);
    auto* copyright = new QLabel(QString::fromUtf8(gui::captions::kAboutCopyright), this);
    copyright->setObjectName(QStringLiteral("aboutCopyright"));
    auto* ok = new QPushButton(QString::fromUtf8(gui::captions::kOk), this);
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
