#include "gui/HelpWindow.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include "gui/GuiMessages.h"

namespace brisna {

HelpWindow::HelpWindow(const QString& path, QWidget* parent)
    : QDialog(parent), browser_(new QTextBrowser(this)) {
    setWindowTitle(QString::fromUtf8(gui::captions::kManualTitle));
    setObjectName(QStringLiteral("helpWindow"));
    // Not modal: the operator reads and works in the main window side by side.
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    browser_->setOpenExternalLinks(true);
    browser_->setSource(QUrl::fromLocalFile(path));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QString::fromUtf8(gui::captions::kClose));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    resize(760, 620);
}

QString HelpWindow::ManualPath() {
    const QString name = QStringLiteral("manual.zh_CN.html");
    const QStringList candidates = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/brisnamake/") + name,
        QStringLiteral(BRISNA_MANUAL_INSTALLED),
        QStringLiteral(BRISNA_MANUAL_BUILT),
    };
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile()) return QFileInfo(path).canonicalFilePath();
    }
    return {};
}

}  // namespace brisna
