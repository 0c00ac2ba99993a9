#pragma once
// The manual in a window of the program, for when the desktop has no browser that will open it.

#include <QDialog>

class QTextBrowser;

namespace brisna {

class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    // Shows the HTML manual at `path`; its links to other pages of the manual work inside.
    explicit HelpWindow(const QString& path, QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return browser_; }
    // Where the manual is: beside an installed program, else in the build tree; empty if none.
    static QString ManualPath();

  private:
    QTextBrowser* browser_;
};

}  // namespace brisna
