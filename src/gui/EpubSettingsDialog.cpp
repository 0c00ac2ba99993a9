#include "gui/EpubSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "gui/EpubSettings.h"
#include "gui/GuiMessages.h"

namespace brisna {

namespace {

// A choice list whose items carry a value; the current item is the one holding `current`, or
// an item added for it when it is none of the usual ones (a value set on the command line).
QComboBox* ChoiceBox(const std::vector<std::pair<QString, int>>& items, int current,
                     const QString& unusual) {
    auto* box = new QComboBox;
    for (const auto& [text, value] : items) box->addItem(text, value);
    int index = box->findData(current);
    if (index < 0) {
        box->addItem(unusual.arg(QString::fromStdString(FormatTenths(current, ""))), current);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
    return box;
}

QString PathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathOf(const QLineEdit* edit) {
    return QFile::encodeName(edit->text().trimmed()).toStdString();
}

}  // namespace

EpubSettingsDialog::EpubSettingsDialog(const EpubChoices& choices, QWidget* parent)
    : QDialog(parent), initial_(choices) {
    setWindowTitle(QString::fromUtf8(gui::captions::kEpubSettingsTitle));
    form_ = new QFormLayout(this);
    const EpubStyle& style = choices.style;

    cover_ = AddFileRow(QString::fromUtf8(gui::captions::kCoverLabel),
                        QString::fromUtf8(gui::captions::kCoverFilter), choices.coverPath);
    cover_->setPlaceholderText(QString::fromUtf8(gui::captions::kCoverPlaceholder));
    noCover_ = new QCheckBox(QString::fromUtf8(gui::captions::kNoCover));
    noCover_->setChecked(choices.noCover);
    form_->addRow(QString(), noCover_);

    indent_ = ChoiceBox({{QString::fromUtf8(gui::captions::kIndentTwo), 20},
                         {QString::fromUtf8(gui::captions::kIndentNone), 0}},
                        style.indentTenths, QString::fromUtf8(gui::captions::kIndentOther));
    form_->addRow(QString::fromUtf8(gui::captions::kIndentLabel), indent_);
    spacing_ = ChoiceBox({{QString::fromUtf8(gui::captions::kSpacingNone), 0},
                          {QString::fromUtf8(gui::captions::kSpacingHalf), 5},
                          {QString::fromUtf8(gui::captions::kSpacingOne), 10}},
                         style.spacingTenths, QString::fromUtf8(gui::captions::kSpacingOther));
    form_->addRow(QString::fromUtf8(gui::captions::kSpacingLabel), spacing_);
    lineHeight_ = ChoiceBox({{QStringLiteral("1.4"), 14},
                             {QStringLiteral("1.6"), 16},
                             {QStringLiteral("1.8"), 18},
                             {QStringLiteral("2.0"), 20}},
                            style.lineHeightTenths, QStringLiteral("%1"));
    form_->addRow(QString::fromUtf8(gui::captions::kLineHeightLabel), lineHeight_);
    heading_ = new QComboBox;
    heading_->addItem(QString::fromUtf8(gui::captions::kHeadingCentre),
                      static_cast<int>(HeadingAlignment::kCentre));
    heading_->addItem(QString::fromUtf8(gui::captions::kHeadingLeft),
                      static_cast<int>(HeadingAlignment::kLeft));
    heading_->setCurrentIndex(heading_->findData(static_cast<int>(style.headingAlignment)));
    form_->addRow(QString::fromUtf8(gui::captions::kHeadingLabel), heading_);
    family_ = new QComboBox;
    family_->addItem(QString::fromUtf8(gui::captions::kFontReader),
                     static_cast<int>(FontFamily::kReader));
    family_->addItem(QString::fromUtf8(gui::captions::kFontSerif),
                     static_cast<int>(FontFamily::kSerif));
    family_->addItem(QString::fromUtf8(gui::captions::kFontSans),
                     static_cast<int>(FontFamily::kSans));
    family_->addItem(QString::fromUtf8(gui::captions::kFontKai),
                     static_cast<int>(FontFamily::kKai));
    family_->setCurrentIndex(family_->findData(static_cast<int>(style.fontFamily)));
    form_->addRow(QString::fromUtf8(gui::captions::kFontLabel), family_);
    font_ = AddFileRow(QString::fromUtf8(gui::captions::kEmbedFontLabel),
                       QString::fromUtf8(gui::captions::kFontFilter), choices.fontPath);
    css_ = AddFileRow(QString::fromUtf8(gui::captions::kStylesheetLabel),
                      QString::fromUtf8(gui::captions::kStylesheetFilter), choices.stylesheetPath);
    vertical_ = new QCheckBox(QString::fromUtf8(gui::captions::kVertical));
    vertical_->setChecked(style.vertical);
    form_->addRow(QString(), vertical_);
    keepBlankLines_ = new QCheckBox(QString::fromUtf8(gui::captions::kKeepBlankLines));
    keepBlankLines_->setChecked(style.keepBlankLines);
    form_->addRow(QString(), keepBlankLines_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(gui::captions::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(gui::captions::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form_->addRow(buttons);
}

QLineEdit* EpubSettingsDialog::AddFileRow(const QString& label, const QString& filter,
                                          const std::string& path) {
    auto* edit = new QLineEdit(PathText(path));
    auto* browse = new QPushButton(QString::fromUtf8(gui::captions::kBrowse));
    connect(browse, &QPushButton::clicked, this, [this, edit, filter] {
        const QString chosen = QFileDialog::getOpenFileName(this, QString(), edit->text(), filter);
        if (!chosen.isEmpty()) edit->setText(chosen);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(browse);
    form_->addRow(label, row);
    return edit;
}

EpubChoices EpubSettingsDialog::Choices() const {
    EpubChoices choices = initial_;
    EpubStyle& style = choices.style;
    choices.coverPath = PathOf(cover_);
    choices.noCover = noCover_->isChecked();
    choices.fontPath = PathOf(font_);
    choices.stylesheetPath = PathOf(css_);
    style.indentTenths = indent_->currentData().toInt();
    style.spacingTenths = spacing_->currentData().toInt();
    style.lineHeightTenths = lineHeight_->currentData().toInt();
    style.headingAlignment = static_cast<HeadingAlignment>(heading_->currentData().toInt());
    style.fontFamily = static_cast<FontFamily>(family_->currentData().toInt());
    style.vertical = vertical_->isChecked();
    style.keepBlankLines = keepBlankLines_->isChecked();
    return choices;
}

}  // namespace brisna
