#pragma once
// The 规则历史 page of the 设置 dialog: the patterns 按规则识别章节… offers again, for chapters
// and for volumes. One can be deleted, or all of them; the change is saved with 确定.

#include "gui/SettingsDialog.h"

class QListWidget;
class QPushButton;

namespace brisna {

class PatternHistoryPage : public SettingsPage {
    Q_OBJECT
  public:
    explicit PatternHistoryPage(QWidget* parent = nullptr);
    QString Title() const override;
    void Save() override;

    QListWidget* Patterns(bool volume) const { return volume ? volumes_ : chapters_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* ClearButton() const { return clear_; }
    // What 删除 does: the selected patterns of both lists go.
    void DeleteSelected();
    // What 全部清除 does.
    void Clear();

  private:
    void UpdateButtons();

    QListWidget* chapters_;
    QListWidget* volumes_;
    QPushButton* delete_;
    QPushButton* clear_;
};

}  // namespace brisna
