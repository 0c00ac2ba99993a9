#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "gui/GuiMessages.h"
#include "gui/HelpWindow.h"
#include "gui/MainWindow.h"
#include "text/CodePage936.h"

// Where the window hands over to the desktop: the manual in a browser (or in the program's own
// help window when no browser takes it) and the folder generation wrote in the file manager.

namespace brisna {

QString MainWindow::ManualPath() {
    return HelpWindow::ManualPath();
}

void MainWindow::ShowManual() {
    const QString path = ManualPath();
    if (path.isEmpty()) {
        host_.ShowMessage(Utf8ToGbk(gui::messages::kManualMissing), MessageCaption::kNone);
        return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    if (urlOpener) {
        if (!urlOpener(url)) ShowHelpWindow(path);
        return;
    }
    // The desktop's opener says only later whether a browser took the page; when none did, the
    // program shows the manual itself rather than nothing.
    auto* opener = new QProcess(this);
    connect(opener, &QProcess::finished, this,
            [this, opener, path](int code, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || code != 0) ShowHelpWindow(path);
                opener->deleteLater();
            });
    connect(opener, &QProcess::errorOccurred, this, [this, opener, path](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart) return;
        ShowHelpWindow(path);
        opener->deleteLater();
    });
    opener->start(QStringLiteral("xdg-open"), {url.toString()});
}

void MainWindow::OpenWrittenFolder() {
    if (status_.writtenFolder.isEmpty()) return;
    const QUrl url = QUrl::fromLocalFile(status_.writtenFolder);
    if (urlOpener ? urlOpener(url) : QDesktopServices::openUrl(url)) return;
    host_.ShowMessage(
        Utf8ToGbk(gui::messages::kOpenFolderFailed + status_.writtenFolder.toStdString()),
        MessageCaption::kNone);
}

void MainWindow::ShowHelpWindow(const QString& path) {
    auto* help = new HelpWindow(path, this);
    help->show();
    help->raise();
}

}  // namespace brisna
