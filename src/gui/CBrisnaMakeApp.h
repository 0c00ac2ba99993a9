#pragma once
// The application: starts Qt, builds the main window (which reads the suspicious-word list before
// it shows), opens the book named on the command line if there is one, and runs until the window
// closes.

#include <QApplication>

namespace brisna {

class CBrisnaMakeApp : public QApplication {
    Q_OBJECT
  public:
    CBrisnaMakeApp(int& argc, char** argv);
    // Shows the window and runs it; the return value is the process's exit status.
    int InitInstance();
};

}  // namespace brisna
