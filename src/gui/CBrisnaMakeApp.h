#pragma once
// The application: starts Qt with its Chinese texts, reads the command line, builds the main
// window (which reads the suspicious-word list before it shows), opens the book named on the
// command line once the window has painted, and runs until the window closes.

#include <QApplication>

class QCommandLineParser;

namespace brisna {

class CBrisnaMakeApp : public QApplication {
    Q_OBJECT
  public:
    CBrisnaMakeApp(int& argc, char** argv);
    // Parses the command line (--help and --version print and end the program), shows the
    // window and runs it; the return value is the process's exit status.
    int InitInstance();

    // Loads Qt's own Simplified Chinese texts (buttons of message boxes, file dialogs, the
    // text's menu), whatever the locale. False when the translation is not installed.
    static bool InstallChineseTranslation(QCoreApplication& app);

    // The window's command line. -h/--help and -V/--version need no display, so they are
    // answered before the window system starts: AsksOnlyForInformation tells from the raw
    // arguments, AnswerInformation prints the answer (the help in Chinese under a zh_* locale)
    // without starting Qt and returns the exit status.
    static void DescribeCommandLine(QCommandLineParser& parser);
    static bool AsksOnlyForInformation(int argc, char** argv);
    static int AnswerInformation(int& argc, char** argv);

    // Every event passes through here: an exception that escapes a command is reported in a
    // message box and the window keeps running, instead of ending the program.
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    void ReportUnexpectedFailure(const char* what);
    bool reporting_ = false;
};

}  // namespace brisna
