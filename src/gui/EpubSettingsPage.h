#pragma once
// The EPUB page of the 设置 dialog: the cover and look of the EPUBs 生成EPUB writes, the very
// controls of EPUB设置… shown as a page.

#include "gui/SettingsDialog.h"

namespace brisna {

class EpubSettingsDialog;

class EpubSettingsPage : public SettingsPage {
    Q_OBJECT
  public:
    explicit EpubSettingsPage(QWidget* parent = nullptr);
    QString Title() const override;
    void Save() override;

    EpubSettingsDialog* Controls() const { return controls_; }

  private:
    EpubSettingsDialog* controls_;
};

}  // namespace brisna
