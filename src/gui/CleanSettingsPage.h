#pragma once
// The 整理文本 page of the 设置 dialog: which passes the clean-up dialog starts with switched on,
// and the indent width it starts from.

#include <map>

#include "gui/CleanDialog.h"
#include "gui/SettingsDialog.h"

class QCheckBox;
class QComboBox;

namespace brisna {

class CleanSettingsPage : public SettingsPage {
    Q_OBJECT
  public:
    explicit CleanSettingsPage(QWidget* parent = nullptr);
    QString Title() const override;
    void Save() override;

    // The passes as the page's boxes set them.
    CleanupOptions Options() const;
    QCheckBox* PassBox(CleanupPass pass) const { return boxes_.at(pass); }
    QComboBox* IndentWidth() const { return indentWidth_; }

  private:
    std::map<CleanupPass, QCheckBox*> boxes_;
    QComboBox* indentWidth_;
};

}  // namespace brisna
