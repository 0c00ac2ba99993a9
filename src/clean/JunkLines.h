#pragma once
// Which lines of a downloaded book are not the book: site notices, chapter-end marks, begging
// lines, separator lines and, when asked for, the author's notes. Whole lines only: a line is
// junk or it is text, nothing inside a line is ever cut.

#include <string>
#include <string_view>
#include <vector>

namespace brisna {

enum class JunkKind {
    kNone,
    kSiteNotice,      // 本书由…整理, 手机阅读…, 请记住本站…, a web address
    kChapterEndMark,  // （本章完）, （未完待续。）
    kBegging,         // 求月票！求推荐票！
    kSeparator,       // =====, ------, ＊＊＊
    kUserPattern,     // a line of the user's own junk-words file
    kAuthorNote,      // PS：今天两更, 作者有话说, 感谢…的打赏
};

// A pattern is GBK text that a junk line contains; `*` stands for any run of characters, so
// "本书由*整理" matches "本书由××小说网整理，仅供试读". Latin letters match either case.
class JunkPattern {
  public:
    explicit JunkPattern(std::string_view gbkPattern);
    bool Matches(std::string_view lowerLine) const;  // a line made lower case already
    bool Empty() const { return pieces_.empty(); }

  private:
    std::vector<std::string> pieces_;
};

class JunkLineRules {
  public:
    // The built-in patterns and the user's own (GBK, one pattern each; empty ones are ignored).
    explicit JunkLineRules(const std::vector<std::string>& userPatterns = {});

    // What the line (GBK, without its line break) is; kNone for a line of the book.
    // Author notes are told apart from the rest so that they can be kept.
    JunkKind Classify(std::string_view line) const;

  private:
    bool IsSeparator(std::string_view trimmed) const;
    bool IsChapterEndMark(std::string_view trimmed) const;
    bool IsBegging(std::string_view trimmed) const;
    bool HasWebAddress(std::string_view lower) const;
    bool IsAuthorNote(std::string_view trimmed, std::string_view lower) const;

    std::vector<JunkPattern> sitePatterns_;
    std::vector<JunkPattern> userPatterns_;
    std::vector<JunkPattern> notePatterns_;
    std::vector<std::string> separatorChars_;
    std::vector<std::string> quoteChars_;
    std::vector<std::string> bracketChars_;
    std::vector<std::string> endMarks_;
    std::vector<std::string> beggingWords_;
    std::vector<std::string> beggingFollowers_;
    std::vector<std::string> noteStarts_;
};

}  // namespace brisna
