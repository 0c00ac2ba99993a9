#include "gui/PatternDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/GuiMessages.h"
#include "gui/ProgramSettings.h"
#include "text/CodePage936.h"

namespace brisna {

namespace {

// How many of the first matches the dialog lists.
constexpr size_t kShownMatches = 20;
// How many patterns of each kind the field offers again.
constexpr int kRememberedPatterns = 10;

const char* HistoryKey(bool volume) {
    return volume ? "patternHistory/volumes" : "patternHistory/chapters";
}

struct Example {
    const char* name;
    const char* pattern;
};

// Ready patterns for the common heading forms.
constexpr Example kExamples[] = {
    {gui::captions::kExampleChapterName, gui::captions::kExampleChapterPattern},
    {gui::captions::kExampleBracketName, gui::captions::kExampleBracketPattern},
    {"Chapter N", "(Chapter|CHAPTER)\\s*[0-9]+"},
    {gui::captions::kExampleNumberName, "[0-9]+\\s*$"},
};

QComboBox* PatternBox(bool volume, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(SavedPatternHistory(volume));
    box->setCurrentText(QString());
    box->lineEdit()->setPlaceholderText(
        volume ? QString::fromUtf8(gui::captions::kVolumePatternHint)
               : QString::fromUtf8(gui::captions::kChapterPatternHint));
    return box;
}

}  // namespace

PatternDialog::PatternDialog(std::string gbkText, QWidget* parent)
    : QDialog(parent), text_(std::move(gbkText)) {
    setWindowTitle(QString::fromUtf8(gui::captions::kPatternTitle));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    pattern_ = PatternBox(false, this);
    volume_ = PatternBox(true, this);
    form->addRow(QString::fromUtf8(gui::captions::kChapterPatternLabel), pattern_);
    auto* examples = new QComboBox(this);
    examples->addItem(QString::fromUtf8(gui::captions::kChooseExample));
    for (const Example& example : kExamples) {
        examples->addItem(QString::fromUtf8(example.name), QString::fromUtf8(example.pattern));
    }
    form->addRow(QString::fromUtf8(gui::captions::kExamplesLabel), examples);
    form->addRow(QString::fromUtf8(gui::captions::kVolumePatternLabel), volume_);
    shortTitles_ = new QCheckBox(QString::fromUtf8(gui::captions::kCollectionCheck), this);
    form->addRow(QString(), shortTitles_);
    layout->addLayout(form);
    count_ = new QLabel(this);
    count_->setWordWrap(true);
    layout->addWidget(count_);
    matches_ = new QListWidget(this);
    layout->addWidget(matches_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(gui::captions::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(gui::captions::kCancel));
    layout->addWidget(buttons);
    resize(560, 420);

    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(300);
    connect(pause_, &QTimer::timeout, this, [this] { Preview(); });
    auto typed = [this] { pause_->start(); };
    connect(pattern_, &QComboBox::currentTextChanged, this, typed);
    connect(volume_, &QComboBox::currentTextChanged, this, typed);
    connect(shortTitles_, &QCheckBox::toggled, this, typed);
    connect(examples, &QComboBox::activated, this, [this, examples](int index) {
        if (index > 0) pattern_->setCurrentText(examples->itemData(index).toString());
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Preview();
        const ChapterRule rule = Rule();
        if (rule.Empty() || PatternProblem(rule.pattern) || PatternProblem(rule.volumePattern))
            return;
        Remember();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Preview();
}

ChapterRule PatternDialog::Rule() const {
    ChapterRule rule;
    rule.pattern = pattern_->currentText().toStdString();
    rule.volumePattern = volume_->currentText().toStdString();
    rule.shortTitles = shortTitles_->isChecked();
    return rule;
}

void PatternDialog::Preview() {
    pause_->stop();
    matches_->clear();
    const ChapterRule rule = Rule();
    if (rule.Empty()) {
        count_->setText(QString::fromUtf8(gui::messages::kPatternMissing));
        return;
    }
    std::string problem;
    BookOutline outline = BuildRuleOutline(text_, rule, problem);
    if (!problem.empty()) {
        count_->setText(QString::fromStdString(problem));
        return;
    }
    if (!outline.HasHeadings()) {
        count_->setText(QString::fromUtf8(gui::messages::kPatternNoMatch));
        return;
    }
    const size_t count = outline.ChapterCount();
    QString said = QString::fromUtf8(gui::messages::kPatternFound).arg(count);
    if (count > 98) said += QString::fromUtf8(gui::messages::kPatternOverLimit);
    count_->setText(said);
    size_t shown = 0;
    for (const OutlineEntry& entry : outline.entries) {
        if (shown++ == kShownMatches) break;
        QString title = QString::fromStdString(GbkToUtf8Lossless(entry.title));
        if (entry.kind == OutlineEntryKind::kVolume)
            title = QString::fromUtf8(gui::messages::kVolumeMark) + title;
        matches_->addItem(QString::fromUtf8(gui::messages::kMatchLine).arg(entry.line + 1) + title);
    }
}

void PatternDialog::Remember() {
    for (auto [box, volume] : {std::pair{pattern_, false}, std::pair{volume_, true}}) {
        const QString text = box->currentText();
        if (text.isEmpty()) continue;
        QStringList history = SavedPatternHistory(volume);
        history.removeAll(text);
        history.prepend(text);
        SavePatternHistory(volume, history);
    }
}

QStringList SavedPatternHistory(bool volume) {
    // A hand-edited file may hold blanks, repeats or more than the field offers.
    QStringList patterns;
    for (const QString& pattern : ProgramSettings().value(HistoryKey(volume)).toStringList()) {
        if (pattern.isEmpty() || patterns.contains(pattern)) continue;
        patterns.append(pattern);
        if (patterns.size() == kRememberedPatterns) break;
    }
    return patterns;
}

void SavePatternHistory(bool volume, const QStringList& patterns) {
    QSettings settings = ProgramSettings();
    if (patterns.isEmpty()) {
        settings.remove(HistoryKey(volume));
        return;
    }
    settings.setValue(HistoryKey(volume), patterns.mid(0, kRememberedPatterns));
}

std::optional<ChapterRule> AskChapterRule(const std::string& gbkText, QWidget* parent) {
    PatternDialog dialog(gbkText, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Rule();
}

}  // namespace brisna
