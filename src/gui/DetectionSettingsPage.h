#pragma once
// The 识别章节 page of the 设置 dialog: the choices chapter recognition remembers.

#include "gui/SettingsDialog.h"

class QCheckBox;

namespace brisna {

class DetectionSettingsPage : public SettingsPage {
    Q_OBJECT
  public:
    explicit DetectionSettingsPage(QWidget* parent = nullptr);
    QString Title() const override;
    void Save() override;

    QCheckBox* LineStart() const { return lineStart_; }

  private:
    QCheckBox* lineStart_;
};

}  // namespace brisna
