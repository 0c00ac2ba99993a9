#pragma once
// The program's top-level window: the dialog's client area (MainWindow) in the middle, with a
// menu bar above it and a status bar below, so the dialog's own layout is untouched inside.

#include <QMainWindow>
#include <filesystem>
#include <optional>

class QLabel;
class QPushButton;

namespace brisna {

class MainWindow;

class ApplicationWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit ApplicationWindow(
        std::optional<std::filesystem::path> suspiciousWordFile = std::nullopt);

    MainWindow& Client() { return *client_; }
    // The first size and place on a screen with this usable area (logical pixels): the dialog's
    // first client size where it fits, with the bars and the frame around it.
    void FitFirstSizeTo(const QRect& available);
    // The status bar's fields: book, chapters, problems, notice.
    QLabel* StatusField(int index) const { return fields_[index]; }
    // Beside the fields after a generation: opens the folder the files went to.
    QPushButton* OpenFolderButton() const { return openFolder_; }

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void ShowStatus();

    MainWindow* client_;
    QLabel* fields_[4] = {};
    QPushButton* openFolder_ = nullptr;
};

}  // namespace brisna
