#pragma once
// The dialog a long command shows after a second: what it is doing, a moving bar, and no way to
// stop it halfway (the commands it serves write their files in one go).

#include <QString>

class QProgressDialog;
class QWidget;

namespace brisna {

class ProgressIndication {
  public:
    explicit ProgressIndication(QWidget* window) : window_(window) {}
    ~ProgressIndication();
    ProgressIndication(const ProgressIndication&) = delete;
    ProgressIndication& operator=(const ProgressIndication&) = delete;

    void Show(const QString& label);
    void Hide();
    // The dialog while it shows, else nullptr.
    QProgressDialog* Dialog() const { return dialog_; }

  private:
    QWidget* window_;
    QProgressDialog* dialog_ = nullptr;
};

}  // namespace brisna
