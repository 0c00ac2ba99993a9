#pragma once
// The 设置 dialog: one page per subject (recognition, EPUB, clean-up, ...), each reading the
// program's saved settings when it is built and writing them back on 确定. A new page is a
// SettingsPage subclass in a file of its own and one line in the page table of
// SettingsDialog.cpp.

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

class QTabWidget;

namespace brisna {

class SettingsPage : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
    // The tab's caption.
    virtual QString Title() const = 0;
    // Writes what the page shows into the program's settings.
    virtual void Save() = 0;
};

using SettingsPageMaker = std::function<SettingsPage*(QWidget* parent)>;
// Every page of the dialog, in tab order.
const std::vector<SettingsPageMaker>& SettingsPageMakers();

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SettingsDialog(QWidget* parent = nullptr);

    QTabWidget* Pages() const { return tabs_; }
    // The page with this caption, or nullptr.
    SettingsPage* Page(const QString& title) const;
    // Brings the page with this caption to the front; false when there is none.
    bool ShowPage(const QString& title);
    // 确定: every page saves, then the dialog closes.
    void accept() override;

  private:
    QTabWidget* tabs_;
    std::vector<SettingsPage*> pages_;
};

}  // namespace brisna
