#include "gui/CBrisnaMakeApp.h"

#include <QIcon>
#include <QStringList>

#include "gui/MainWindow.h"

namespace brisna {

CBrisnaMakeApp::CBrisnaMakeApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("BrisnaMake"));
    setApplicationVersion(QStringLiteral("3.3.1.1"));
    setDesktopFileName(QStringLiteral("BrisnaMake"));
    setWindowIcon(QIcon(QStringLiteral(":/brisna/BrisnaMake.png")));
}

int CBrisnaMakeApp::InitInstance() {
    MainWindow window;
    window.show();
    // A book given on the command line (or by a file manager) opens as if chosen in the dialog.
    const QStringList args = arguments();
    if (args.size() > 1) window.OpenTextAtStart(args.at(1));
    return exec();
}

}  // namespace brisna
