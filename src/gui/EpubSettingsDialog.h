#pragma once
// EPUB设置: the cover and the look of the EPUBs 生成EPUB writes, kept in the program's settings.

#include <QDialog>

#include "epub/EpubCommands.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;

namespace brisna {

class EpubSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit EpubSettingsDialog(const EpubChoices& choices, QWidget* parent = nullptr);
    // The choices as the dialog shows them.
    EpubChoices Choices() const;

  private:
    QLineEdit* AddFileRow(const QString& label, const QString& filter, const std::string& path);

    EpubChoices initial_;
    QLineEdit* cover_ = nullptr;
    QCheckBox* noCover_ = nullptr;
    QComboBox* indent_ = nullptr;
    QComboBox* spacing_ = nullptr;
    QComboBox* lineHeight_ = nullptr;
    QComboBox* heading_ = nullptr;
    QComboBox* family_ = nullptr;
    QLineEdit* font_ = nullptr;
    QLineEdit* css_ = nullptr;
    QCheckBox* vertical_ = nullptr;
    QCheckBox* keepBlankLines_ = nullptr;
    QFormLayout* form_ = nullptr;
};

}  // namespace brisna
