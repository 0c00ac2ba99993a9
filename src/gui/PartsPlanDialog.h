#pragma once
// The plan of 分册生成 before anything is written: a tree of the parts (file name, chapter count,
// first and last chapter, size) with their chapters below them. 确定 writes every part with a
// progress bar; 取消 writes nothing.

#include <QDialog>

#include "app/CBrisnaMakeDlg.h"
#include "parts/PartPlan.h"

class QDialogButtonBox;
class QProgressBar;
class QTreeWidget;

namespace brisna {

class PartsPlanDialog : public QDialog {
  public:
    PartsPlanDialog(const PartPlan& plan, CBrisnaMakeDlg::PartsWriter write, QWidget* parent);

    QTreeWidget* Tree() const { return tree_; }
    QProgressBar* Progress() const { return progress_; }
    // What the writing gave, once 确定 was pressed.
    const PartsOutcome& Outcome() const { return outcome_; }

    // Writes every part (what 确定 does).
    void WriteParts();

  private:
    CBrisnaMakeDlg::PartsWriter write_;
    QTreeWidget* tree_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    PartsOutcome outcome_;
};

}  // namespace brisna
