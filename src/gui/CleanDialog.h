#pragma once
// 整理文本: the passes as check boxes with what each would do, the list of changes (a
// double-click shows the line in the text) and 确定 to apply them as one step of the undo
// history. The clean-up runs of a large book can be handed to a worker.

#include <QDialog>
#include <QString>
#include <functional>

#include "app/CBrisnaMakeDlg.h"
#include "clean/TextCleanup.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;

namespace brisna {

class CleanDialog : public QDialog {
  public:
    // Runs a long piece of work and returns when it has finished (on a worker, say).
    using LongWork = std::function<void(const std::function<void()>& work)>;

    // runLong: how the previews are worked out; on the calling thread when empty.
    CleanDialog(CBrisnaMakeDlg& dialog, QWidget* parent, LongWork runLong = {});

    QListWidget* Changes() const { return changes_; }
    QLabel* Report() const { return report_; }
    // The passes as the check boxes set them.
    CleanupOptions Options() const;
    // Runs the clean-up again for the boxes as they are now.
    void Refresh();
    // Shows the line of change `row` in the text (what a double-click does).
    void ShowChange(int row);
    // What 确定 does: the changes go into the text.
    void Apply();

  private:
    // Runs `work` through runLong_, the dialog's boxes out of reach meanwhile.
    void RunLong(const std::function<void()>& work);
    // Shows the counts and the changes of preview_.
    void ShowPreview();

    CBrisnaMakeDlg& dialog_;
    LongWork runLong_;
    std::string text_;  // the text the preview was made from
    CleanupResult preview_;
    // What every removal would take, shown beside a pass that is switched off.
    CleanupCounts possible_;
    QCheckBox* junk_ = nullptr;
    QCheckBox* contents_ = nullptr;
    QCheckBox* notes_ = nullptr;
    QCheckBox* unwrap_ = nullptr;
    QCheckBox* indent_ = nullptr;
    QComboBox* indentWidth_ = nullptr;
    QCheckBox* blankLines_ = nullptr;
    QLabel* report_ = nullptr;
    QListWidget* changes_ = nullptr;
};

// Shows the dialog over the window; 确定 applies through `apply`, which runs the given step
// (Apply) as the window runs its commands. Previews run through runLong.
void ShowCleanDialog(CBrisnaMakeDlg& dialog, QWidget* parent, const CleanDialog::LongWork& runLong,
                     const std::function<void(const std::function<void()>&)>& apply);

// The passes the dialog offers, in the order it lists them.
enum class CleanupPass { kJunk, kContents, kNotes, kUnwrap, kIndent, kBlankLines };
// A pass's caption, the same on the dialog and on the 设置 page.
QString CleanupPassCaption(CleanupPass pass);
// Fills a box with the indent widths (two full-width spaces, none) and selects `chars`.
void FillIndentChoices(QComboBox* box, int chars);

// The passes the dialog starts with: the program's defaults until the operator saves others on
// the 设置 dialog. A hand-edited settings file cannot ask for an indent width the dialog does not
// offer.
CleanupOptions SavedCleanupDefaults();
void SaveCleanupDefaults(const CleanupOptions& options);

}  // namespace brisna
