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
    setWindowTitle(QStringLiteral("EPUB设置"));
    form_ = new QFormLayout(this);
    const EpubStyle& style = choices.style;

    cover_ = AddFileRow(QStringLiteral("封面图片："), QStringLiteral("图片 (*.jpg *.jpeg *.png)"),
                        choices.coverPath);
    cover_->setPlaceholderText(QStringLiteral("书旁边的 cover.jpg 等，否则自动生成"));
    noCover_ = new QCheckBox(QStringLiteral("不要封面"));
    noCover_->setChecked(choices.noCover);
    form_->addRow(QString(), noCover_);

    indent_ = ChoiceBox({{QStringLiteral("2字"), 20}, {QStringLiteral("不缩进"), 0}},
                        style.indentTenths, QStringLiteral("%1字"));
    form_->addRow(QStringLiteral("段首缩进："), indent_);
    spacing_ = ChoiceBox(
        {{QStringLiteral("无"), 0}, {QStringLiteral("半行"), 5}, {QStringLiteral("一行"), 10}},
        style.spacingTenths, QStringLiteral("%1行"));
    form_->addRow(QStringLiteral("段间距："), spacing_);
    lineHeight_ = ChoiceBox({{QStringLiteral("1.4"), 14},
                             {QStringLiteral("1.6"), 16},
                             {QStringLiteral("1.8"), 18},
                             {QStringLiteral("2.0"), 20}},
                            style.lineHeightTenths, QStringLiteral("%1"));
    form_->addRow(QStringLiteral("行高："), lineHeight_);
    heading_ = new QComboBox;
    heading_->addItem(QStringLiteral("居中"), static_cast<int>(HeadingAlignment::kCentre));
    heading_->addItem(QStringLiteral("居左"), static_cast<int>(HeadingAlignment::kLeft));
    heading_->setCurrentIndex(heading_->findData(static_cast<int>(style.headingAlignment)));
    form_->addRow(QStringLiteral("标题对齐："), heading_);
    family_ = new QComboBox;
    family_->addItem(QStringLiteral("阅读器默认"), static_cast<int>(FontFamily::kReader));
    family_->addItem(QStringLiteral("宋体"), static_cast<int>(FontFamily::kSerif));
    family_->addItem(QStringLiteral("黑体"), static_cast<int>(FontFamily::kSans));
    family_->addItem(QStringLiteral("楷体"), static_cast<int>(FontFamily::kKai));
    family_->setCurrentIndex(family_->findData(static_cast<int>(style.fontFamily)));
    form_->addRow(QStringLiteral("字体："), family_);
    font_ = AddFileRow(QStringLiteral("嵌入字体文件："),
                       QStringLiteral("字体 (*.ttf *.otf *.woff *.woff2)"), choices.fontPath);
    css_ = AddFileRow(QStringLiteral("附加样式表："), QStringLiteral("样式表 (*.css)"),
                      choices.stylesheetPath);
    vertical_ = new QCheckBox(QStringLiteral("竖排（从右到左）"));
    vertical_->setChecked(style.vertical);
    form_->addRow(QString(), vertical_);
    keepBlankLines_ = new QCheckBox(QStringLiteral("保留空行"));
    keepBlankLines_->setChecked(style.keepBlankLines);
    form_->addRow(QString(), keepBlankLines_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form_->addRow(buttons);
}

QLineEdit* EpubSettingsDialog::AddFileRow(const QString& label, const QString& filter,
                                          const std::string& path) {
    auto* edit = new QLineEdit(PathText(path));
    auto* browse = new QPushButton(QStringLiteral("浏览..."));
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
