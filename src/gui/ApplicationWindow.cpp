#include "gui/ApplicationWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>

#include "app/WindowLayout.h"
#include "gui/GuiMessages.h"
#include "gui/MainWindow.h"

namespace brisna {

ApplicationWindow::ApplicationWindow(std::optional<std::filesystem::path> suspiciousWordFile)
    : client_(new MainWindow(std::move(suspiciousWordFile))) {
    setCentralWidget(client_);
    setWindowIcon(client_->windowIcon());
    setWindowTitle(client_->windowTitle());
    connect(client_, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
    for (QMenu* menu : client_->Menus()) menuBar()->addMenu(menu);

    for (int i = 0; i < 4; ++i) {
        fields_[i] = new QLabel(this);
        fields_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    // The notice takes what is left; it may be long (every file generation wrote).
    statusBar()->addWidget(fields_[0]);
    statusBar()->addWidget(fields_[1]);
    statusBar()->addWidget(fields_[2]);
    statusBar()->addWidget(fields_[3], 1);
    openFolder_ = new QPushButton(QString::fromUtf8(gui::captions::kOpenFolder), this);
    openFolder_->setObjectName(QStringLiteral("openWrittenFolder"));
    openFolder_->setAutoDefault(false);
    statusBar()->addPermanentWidget(openFolder_);
    connect(openFolder_, &QPushButton::clicked, client_, &MainWindow::OpenWrittenFolder);
    connect(client_, &MainWindow::statusChanged, this, &ApplicationWindow::ShowStatus);
    // A long command's notice covers the summary while it runs; a refusal shows for a while.
    connect(&client_->Work(), &BackgroundWork::busyNoticeChanged, this,
            [this](const QString& text) {
                if (text.isEmpty()) {
                    statusBar()->clearMessage();
                } else {
                    statusBar()->showMessage(text);
                }
            });
    connect(client_, &MainWindow::transientNotice, this,
            [this](const QString& text) { statusBar()->showMessage(text, 4000); });
    ShowStatus();
}

void ApplicationWindow::ShowStatus() {
    const MainWindow::Status& status = client_->CurrentStatus();
    const QString texts[4] = {status.book, status.chapters, status.problems, status.notice};
    for (int i = 0; i < 4; ++i) {
        fields_[i]->setText(texts[i]);
        fields_[i]->setToolTip(texts[i]);
        fields_[i]->setVisible(!texts[i].isEmpty());
    }
    openFolder_->setVisible(!status.writtenFolder.isEmpty());
    openFolder_->setToolTip(status.writtenFolder);
}

void ApplicationWindow::FitFirstSizeTo(const QRect& available) {
    // Before the window is shown its frame is unknown; leave room for a usual one.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(8, 40);
    const QSize bars(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    const QSize around = frame + bars;
    const PixelSize client = InitialClientSize({available.width(), available.height()},
                                               {around.width(), around.height()});
    const QSize inner = QSize(client.width, client.height) + bars;
    resize(inner.expandedTo(minimumSizeHint()));
    const QSize outer = size() + frame;
    move(available.x() + std::max(0, (available.width() - outer.width()) / 2),
         available.y() + std::max(0, (available.height() - outer.height()) / 2));
}

void ApplicationWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) client_->WindowStateChanged();
}

void ApplicationWindow::closeEvent(QCloseEvent* event) {
    if (client_->RefuseWhileBusy() || !client_->Dialog().ConfirmDiscardChapters()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace brisna
