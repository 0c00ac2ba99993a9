#include "gui/CBrisnaMakeApp.h"

#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "Version.h"
#include "gui/ApplicationWindow.h"
#include "gui/GuiMessages.h"
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
    parser.setApplicationDescription(QString::fromUtf8(gui::messages::kCommandLineDescription));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QString::fromUtf8(gui::messages::kFileArgument),
                                 QStringLiteral("[file]"));
}

bool CBrisnaMakeApp::AsksOnlyForInformation(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") return false;  // what follows are file names
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all" ||
            arg == "--version" || arg == "-V" || arg == "-v") {
            return true;
        }
    }
    return false;
}

namespace {

// Chinese under a zh_* locale, as the command line decides: LC_ALL, else LC_MESSAGES, else LANG.
bool ChineseLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return std::string_view(value).starts_with("zh");
    }
    return false;
}

std::string HelpText(bool chinese) {
    if (chinese) {
        return std::string(gui::messages::kCommandLineHelp);
    }
    return "Usage: BrisnaMake [OPTIONS] [FILE]\n"
           "BrisnaMake e-book editor: open a Chinese plain-text book, mark its chapters, check it "
           "and\ngenerate it as .qbr2 and .qbr e-books or as an EPUB.\n"
           "\n"
           "Arguments:\n"
           "  FILE           the book to open (.txt, .qbr2, .qbr or .epub)\n"
           "\n"
           "Options:\n"
           "  -h, --help     print this help and exit\n"
           "  -V, --version  print the version and exit\n"
           "\n"
           "The same tool without a window: brisnamake-cli --help.\n";
}

}  // namespace

int CBrisnaMakeApp::AnswerInformation(int& argc, char** argv) {
    // No Qt at all: a machine without a display, or without Qt's platform plugins, answers too.
    bool help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all") help = true;
    }
    const std::string answer =
        help ? HelpText(ChineseLocale()) : std::string("BrisnaMake ") + kVersion + "\n";
    std::fputs(answer.c_str(), stdout);
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
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
    QString text = QString::fromUtf8(gui::messages::kInternalError);
    if (what != nullptr && *what != '\0')
        text += QStringLiteral("\n") + QString::fromLocal8Bit(what);
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(gui::messages::kErrorTitle), text,
                    QMessageBox::Ok, activeWindow());
    box.exec();
    reporting_ = false;
}

}  // namespace brisna
