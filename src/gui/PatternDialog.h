#pragma once
// 按规则识别章节…: the operator's own chapter rule. A field for the pattern (a regular expression
// matched at the start of each line) with ready examples and the last patterns 确定 accepted
// (kept between runs), one for volume headings, the short-title mode for collections, and as the
// operator types the number of chapters the rule finds with its first matches.

#include <QDialog>
#include <QStringList>
#include <optional>
#include <string>

#include "detect/ChapterRule.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QTimer;

namespace brisna {

class PatternDialog : public QDialog {
  public:
    // gbkText: the book text the rule is tried on.
    PatternDialog(std::string gbkText, QWidget* parent);

    // The rule as the fields give it.
    ChapterRule Rule() const;
    // Tries the rule on the book and shows the count and the first matches (what typing does
    // after a short pause).
    void Preview();

    QComboBox* PatternField() const { return pattern_; }
    QComboBox* VolumeField() const { return volume_; }
    QCheckBox* ShortTitlesBox() const { return shortTitles_; }
    QLabel* CountLabel() const { return count_; }
    QListWidget* Matches() const { return matches_; }

  private:
    void Remember();

    std::string text_;
    QComboBox* pattern_ = nullptr;
    QComboBox* volume_ = nullptr;
    QCheckBox* shortTitles_ = nullptr;
    QLabel* count_ = nullptr;
    QListWidget* matches_ = nullptr;
    QTimer* pause_ = nullptr;
};

// The patterns 确定 kept, newest first: for chapter headings or (volume) for volume headings.
// Saved in the program's settings, so the field offers them again after a restart.
QStringList SavedPatternHistory(bool volume);
void SavePatternHistory(bool volume, const QStringList& patterns);

// Shows the dialog; the rule when the operator pressed 确定 with a usable rule.
std::optional<ChapterRule> AskChapterRule(const std::string& gbkText, QWidget* parent);

}  // namespace brisna
