#include "gui/CBrisnaMakeApp.h"

#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QTranslator>
#include <cstdio>
#include <exception>
#include <string_view>

#include "Version.h"
#include "gui/ApplicationWindow.h"
#include "gui/MainWindow.h"

namespace brisna {

CBrisnaMakeApp::CBrisnaMakeApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("BrisnaMake"));
    setApplicationVersion(QString::fromLatin1(kVersion));
    // The desktop entry's id: Wayland ties the window to the menu entry by it.
    setDesktopFileName(QStringLiteral("io.github.brisnamake.BrisnaMake"));
    setWindowIcon(QIcon(QStringLiteral(":/brisna/BrisnaMake.png")));
    InstallChineseTranslation(*this);
}

bool CBrisnaMakeApp::InstallChineseTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void CBrisnaMakeApp::DescribeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("BrisnaMake 电子书编辑工具"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("要打开的图书（.txt、.qbr2、.qbr 或 .epub）"),
                                 QStringLiteral("[file]"));
}

bool CBrisnaMakeApp::AsksOnlyForInformation(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") return false;  // what follows are file names
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all" ||
            arg == "--version" || arg == "-v") {
            return true;
        }
    }
    return false;
}

int CBrisnaMakeApp::AnswerInformation(int& argc, char** argv) {
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("BrisnaMake"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    parser.process(core);  // prints the help or the version and ends the program
    return 0;
}

int CBrisnaMakeApp::InitInstance() {
    QCommandLineParser parser;
    DescribeCommandLine(parser);
    parser.process(*this);  // --help, --version and unknown options end here
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fputs("BrisnaMake: only one file can be opened at a time\n", stderr);
        return 2;
    }

    ApplicationWindow window;
    if (QScreen* screen = window.screen()) window.FitFirstSizeTo(screen->availableGeometry());
    // A book given on the command line (or by a file manager) opens through the command of its
    // kind, after the window has painted itself once.
    if (!files.isEmpty()) window.Client().OpenAfterFirstPaint(files.first());
    window.show();
    return exec();
}

bool CBrisnaMakeApp::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportUnexpectedFailure(error.what());
    } catch (...) {
        ReportUnexpectedFailure(nullptr);
    }
    return false;
}

void CBrisnaMakeApp::ReportUnexpectedFailure(const char* what) {
    // The wait cursors of the interrupted command are gone with its stack.
    while (overrideCursor() != nullptr) restoreOverrideCursor();
    // One box at a time: a failure while the box itself runs is only counted out on stderr.
    if (reporting_) {
        std::fprintf(stderr, "BrisnaMake: %s\n", what != nullptr ? what : "unknown failure");
        return;
    }
    reporting_ = true;
    QString text = QStringLiteral("操作未能完成，程序内部出错。");
    if (what != nullptr && *what != '\0')
        text += QStringLiteral("\n") + QString::fromLocal8Bit(what);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), text, QMessageBox::Ok,
                    activeWindow());
    box.exec();
    reporting_ = false;
}

}  // namespace brisna
