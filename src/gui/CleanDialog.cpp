#include "gui/CleanDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/DlgCleanCommands.h"
#include "chapters/ChapterTitle.h"
#include "gui/GuiMessages.h"
#include "gui/ProgramSettings.h"
#include "text/CodePage936.h"

namespace brisna {
namespace {

QString FromGbk(std::string_view gbk) {
    return QString::fromStdU16String(GbkToUtf16Lossless(gbk));
}

QString CountText(const QString& pass, size_t count, const QString& unit) {
    return QString::fromUtf8(gui::messages::kCleanPassCount).arg(pass).arg(count).arg(unit);
}

}  // namespace

CleanDialog::CleanDialog(CBrisnaMakeDlg& dialog, QWidget* parent, LongWork runLong)
    : QDialog(parent), dialog_(dialog), runLong_(std::move(runLong)) {
    setWindowTitle(QString::fromUtf8(gui::captions::kCleanTitle));
    auto* layout = new QVBoxLayout(this);
    const CleanupOptions defaults = SavedCleanupDefaults();
    auto box = [&](bool checked) {
        auto* check = new QCheckBox(this);
        check->setChecked(checked);
        connect(check, &QCheckBox::toggled, this, &CleanDialog::Refresh);
        layout->addWidget(check);
        return check;
    };
    junk_ = box(defaults.removeJunk);
    contents_ = box(defaults.removeContents);
    notes_ = box(defaults.removeNotes);
    unwrap_ = box(defaults.joinWrapped);
    auto* indentRow = new QHBoxLayout;
    indent_ = new QCheckBox(this);
    indent_->setChecked(defaults.evenIndents);
    connect(indent_, &QCheckBox::toggled, this, &CleanDialog::Refresh);
    indentWidth_ = new QComboBox(this);
    FillIndentChoices(indentWidth_, defaults.indentChars);
    connect(indentWidth_, &QComboBox::currentIndexChanged, this, &CleanDialog::Refresh);
    indentRow->addWidget(indent_);
    indentRow->addWidget(indentWidth_);
    indentRow->addStretch();
    layout->addLayout(indentRow);
    blankLines_ = box(defaults.squeezeBlankLines);

    report_ = new QLabel(this);
    layout->addWidget(report_);
    changes_ = new QListWidget(this);
    changes_->setMinimumSize(560, 280);
    connect(changes_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { ShowChange(changes_->row(item)); });
    layout->addWidget(changes_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(gui::captions::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(gui::captions::kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    text_ = ReadBookText(dialog_.bookText.View());
    CleanupOptions everything;
    everything.removeNotes = true;
    const CleanupOptions options = Options();
    RunLong([&] {
        possible_ = CleanText(text_, everything).counts;
        preview_ = CleanText(text_, options);
    });
    ShowPreview();
}

CleanupOptions CleanDialog::Options() const {
    CleanupOptions options;
    options.removeJunk = junk_->isChecked();
    options.removeContents = contents_->isChecked();
    options.removeNotes = notes_->isChecked();
    options.joinWrapped = unwrap_->isChecked();
    options.evenIndents = indent_->isChecked();
    options.indentChars = indentWidth_->currentData().toInt();
    options.squeezeBlankLines = blankLines_->isChecked();
    return options;
}

void CleanDialog::Refresh() {
    const CleanupOptions options = Options();
    CleanupResult preview;
    RunLong([&] { preview = CleanText(text_, options); });
    preview_ = std::move(preview);
    ShowPreview();
}

void CleanDialog::RunLong(const std::function<void()>& work) {
    if (!runLong_) {
        work();
        return;
    }
    // The window keeps serving events meanwhile: a box toggled now would start a second run.
    setEnabled(false);
    struct Enable {
        CleanDialog& dialog;
        ~Enable() { dialog.setEnabled(true); }
    } enable{*this};
    runLong_(work);
}

void CleanDialog::ShowPreview() {
    const CleanupCounts& counts = preview_.counts;
    // A pass switched off shows what it would do.
    auto shown = [](const QCheckBox* box, size_t done, size_t possible) {
        return box->isChecked() ? done : possible;
    };
    junk_->setText(CountText(CleanupPassCaption(CleanupPass::kJunk),
                             shown(junk_, counts.junkLines, possible_.junkLines),
                             QString::fromUtf8(gui::messages::kUnitLines)));
    contents_->setText(CountText(CleanupPassCaption(CleanupPass::kContents),
                                 shown(contents_, counts.contentsLines, possible_.contentsLines),
                                 QString::fromUtf8(gui::messages::kUnitLines)));
    notes_->setText(CountText(CleanupPassCaption(CleanupPass::kNotes),
                              shown(notes_, counts.authorNotes, possible_.authorNotes),
                              QString::fromUtf8(gui::messages::kUnitLines)));
    unwrap_->setText(CountText(CleanupPassCaption(CleanupPass::kUnwrap),
                               shown(unwrap_, counts.joinedLines, possible_.joinedLines),
                               QString::fromUtf8(gui::messages::kUnitPlaces)));
    indent_->setText(CountText(CleanupPassCaption(CleanupPass::kIndent), counts.indentsChanged,
                               QString::fromUtf8(gui::messages::kUnitParagraphs)));
    blankLines_->setText(CountText(CleanupPassCaption(CleanupPass::kBlankLines),
                                   counts.blankLinesRemoved,
                                   QString::fromUtf8(gui::messages::kUnitLines)));
    report_->setText(FromGbk(CleanupReport(counts)));

    changes_->clear();
    for (const CleanupChange& change : preview_.changes) {
        changes_->addItem(QStringLiteral("%1\t%2\t%3")
                              .arg(change.line + 1)
                              .arg(FromGbk(CleanupChangeKindName(change.kind)))
                              .arg(FromGbk(change.text)));
    }
}

void CleanDialog::ShowChange(int row) {
    if (row < 0 || static_cast<size_t>(row) >= preview_.changes.size()) return;
    RichEdit& view = dialog_.bookText.View();
    const int32_t start = view.LineIndex(preview_.changes[row].line);
    if (start < 0) return;
    const int32_t end = view.LineIndex(preview_.changes[row].line + 1);
    view.SetSelection({start, end < 0 ? start : end});
}

void CleanDialog::Apply() {
    ApplyTextCleanup(dialog_, preview_, text_);
}

void ShowCleanDialog(CBrisnaMakeDlg& dialog, QWidget* parent, const CleanDialog::LongWork& runLong,
                     const std::function<void(const std::function<void()>&)>& apply) {
    CleanDialog cleanDialog(dialog, parent, runLong);
    if (cleanDialog.exec() == QDialog::Accepted) apply([&cleanDialog] { cleanDialog.Apply(); });
}

QString CleanupPassCaption(CleanupPass pass) {
    switch (pass) {
        case CleanupPass::kJunk:
            return QString::fromUtf8(gui::captions::kCleanJunk);
        case CleanupPass::kContents:
            return QString::fromUtf8(gui::captions::kCleanContents);
        case CleanupPass::kNotes:
            return QString::fromUtf8(gui::captions::kCleanAuthorNotes);
        case CleanupPass::kUnwrap:
            return QString::fromUtf8(gui::captions::kCleanWrapped);
        case CleanupPass::kIndent:
            return QString::fromUtf8(gui::captions::kCleanIndent);
        case CleanupPass::kBlankLines:
            return QString::fromUtf8(gui::captions::kCleanBlankLines);
    }
    return QString();
}

void FillIndentChoices(QComboBox* box, int chars) {
    box->addItem(QString::fromUtf8(gui::captions::kIndentTwoSpaces), 2);
    box->addItem(QString::fromUtf8(gui::captions::kIndentNone), 0);
    box->setCurrentIndex(std::max(0, box->findData(chars)));
}

namespace {

// The keys of the saved defaults, one per pass.
constexpr char kJunkKey[] = "cleanup/removeJunk";
constexpr char kContentsKey[] = "cleanup/removeContents";
constexpr char kNotesKey[] = "cleanup/removeNotes";
constexpr char kUnwrapKey[] = "cleanup/joinWrapped";
constexpr char kIndentKey[] = "cleanup/evenIndents";
constexpr char kIndentCharsKey[] = "cleanup/indentChars";
constexpr char kBlankLinesKey[] = "cleanup/squeezeBlankLines";

}  // namespace

CleanupOptions SavedCleanupDefaults() {
    const QSettings settings = ProgramSettings();
    CleanupOptions options;
    options.removeJunk = settings.value(kJunkKey, options.removeJunk).toBool();
    options.removeContents = settings.value(kContentsKey, options.removeContents).toBool();
    options.removeNotes = settings.value(kNotesKey, options.removeNotes).toBool();
    options.joinWrapped = settings.value(kUnwrapKey, options.joinWrapped).toBool();
    options.evenIndents = settings.value(kIndentKey, options.evenIndents).toBool();
    bool number = false;
    const int indentChars = settings.value(kIndentCharsKey).toInt(&number);
    if (number && (indentChars == 0 || indentChars == 2)) options.indentChars = indentChars;
    options.squeezeBlankLines = settings.value(kBlankLinesKey, options.squeezeBlankLines).toBool();
    return options;
}

void SaveCleanupDefaults(const CleanupOptions& options) {
    QSettings settings = ProgramSettings();
    settings.setValue(kJunkKey, options.removeJunk);
    settings.setValue(kContentsKey, options.removeContents);
    settings.setValue(kNotesKey, options.removeNotes);
    settings.setValue(kUnwrapKey, options.joinWrapped);
    settings.setValue(kIndentKey, options.evenIndents);
    settings.setValue(kIndentCharsKey, options.indentChars);
    settings.setValue(kBlankLinesKey, options.squeezeBlankLines);
}

}  // namespace brisna
