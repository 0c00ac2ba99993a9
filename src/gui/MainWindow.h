#pragma once
// The main window: every control of the dialog at its id, the layout applied on each resize, the
// display toggles' frame, and the routing of clicks and notifications to CBrisnaMakeDlg.

#include <QWidget>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "app/CBrisnaMakeDlg.h"
#include "app/WindowFrame.h"
#include "gui/CMyListBox.h"
#include "gui/QtDialogHost.h"
#include "gui/QtListBox.h"
#include "gui/QtRichEdit.h"

class QMenu;

namespace brisna {

class MainWindow : public QWidget, public WindowFrame {
    Q_OBJECT
  public:
    // Reads the suspicious-word list from "BrisnaMake.csv" in the current directory, or from the
    // given file.
    explicit MainWindow(std::optional<std::filesystem::path> suspiciousWordFile = std::nullopt);
    ~MainWindow() override;

    CBrisnaMakeDlg& Dialog() { return *dlg_; }
    QtDialogHost& Host() { return host_; }
    QtRichEdit& TextView() { return *textView_; }
    CMyListBox& ChapterList() { return *chapterList_; }
    QtListBox& ProblemList() { return *problemList_; }
    // The control with a dialog id (buttons, edits, lists, frames, the label).
    QWidget* Control(int controlId) const;

    // Opens a text file as the "打开txt文件" button does, answering its file dialog with the path.
    void OpenTextAtStart(const QString& path);
    // Shows the About box modally.
    void ShowAbout();
    // The background menu that carries the About entry.
    QMenu* BackgroundMenu() const { return backgroundMenu_; }

    // WindowFrame
    PixelRect WindowRect() const override;
    bool IsMaximized() const override;
    void MoveWindow(const PixelRect& rect) override;
    void LayOutControls() override;
    void SetControlText(int controlId, std::string_view gbk) override;
    void ShowControl(int controlId, bool show) override;
    void EnableControl(int controlId, bool enable) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void CreateControls();
    void HandleResize();

    QtRichEdit* textView_;
    CMyListBox* chapterList_;
    QtListBox* problemList_;
    QtDialogHost host_;
    std::unique_ptr<CBrisnaMakeDlg> dlg_;
    std::map<int, QWidget*> controls_;
    QMenu* backgroundMenu_ = nullptr;
    bool wasMaximized_ = false;
    // The text the line table was last rebuilt from by a resize; see HandleResize.
    std::optional<uint64_t> lineTableGeneration_;
};

}  // namespace brisna
