#pragma once
// 整理文本: the passes as check boxes with what each would do, the list of changes (a
// double-click shows the line in the text) and 确定 to apply them as one step of the undo
// history.

#include <QDialog>
#include <QString>

#include "app/CBrisnaMakeDlg.h"
#include "clean/TextCleanup.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;

namespace brisna {

class CleanDialog : public QDialog {
  public:
    CleanDialog(CBrisnaMakeDlg& dialog, QWidget* parent);

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
    CBrisnaMakeDlg& dialog_;
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

// Shows the dialog over the window; 确定 applies.
void ShowCleanDialog(CBrisnaMakeDlg& dialog, QWidget* parent);

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
