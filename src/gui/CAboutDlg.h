#pragma once
// The About box: the program's picture, name and version, and one button to close it.

#include <QDialog>

namespace brisna {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace brisna
