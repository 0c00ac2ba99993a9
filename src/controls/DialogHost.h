#pragma once
// The operator's side of the dialog: message boxes, the open-file dialog, the wait cursor and
// the two edit fields. The window implements it with Qt; the command line prints message boxes
// as lines; tests record everything.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisna {

enum class MessageCaption {
    kNone,     // failures: no caption of their own
    kPrompt,   // "提示": prompts about missing input and the success of generation
    kAppName,  // "BrisnaMake": the two messages raised through the framework
};

// The filters of the open-file dialogs.
enum class FileFilter {
    kText,  // "Text Files (*.txt)|*.txt||"
    kQbr2,  // "qbr2 files (*.qbr2)|*.qbr2||"
    kQbr,   // "qbr files (*.qbr)|*.qbr;||"
    kEpub,  // "EPUB files (*.epub)|*.epub||"
};

// Edit fields of the dialog whose text the commands read.
inline constexpr int kSearchField = 1014;
inline constexpr int kStartChapterField = 1017;

class DialogHost {
  public:
    virtual ~DialogHost() = default;

    // A modal message box with an OK button. The text is GBK.
    virtual void ShowMessage(std::string_view gbkText, MessageCaption caption) = 0;
    // A message box about one file. The window shows the message alone, as it always has; the
    // command line adds the path and, where the system gave one, its reason, so that a failure
    // in a batch says which file and why ("生成qbr2失败: /books/a1.qbr2: Permission denied").
    // path is the file name's bytes; reason is the system's text (strerror), or empty.
    virtual void ShowFileMessage(std::string_view gbkText, MessageCaption caption,
                                 std::string_view path, std::string_view reason) {
        (void)path;
        (void)reason;
        ShowMessage(gbkText, caption);
    }
    // The open-file dialog: the chosen path (the platform's file name bytes), or nothing when
    // the operator cancels.
    virtual std::optional<std::string> ChooseFileToOpen(FileFilter filter) = 0;
    // The wait cursor; calls nest.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // The text of edit field 1014 or 1017 in GBK, at most 59 bytes (a buffer of 60 with its NUL;
    // a double-byte character that would not fit whole is left out).
    virtual std::string GetFieldText(int fieldId) = 0;
    // A question with a button per answer (GBK texts): the index of the button chosen, the
    // default one when the operator closes the box. A host that cannot ask (the command line,
    // tests) answers kCannotAsk and the command does what its caller asked for.
    static constexpr int kCannotAsk = -1;
    virtual int AskQuestion(std::string_view gbkText, const std::vector<std::string>& gbkButtons,
                            int defaultButton) {
        (void)gbkText;
        (void)gbkButtons;
        (void)defaultButton;
        return kCannotAsk;
    }
    // Puts GBK text into edit field 1014 or 1017, as a command that fills in the start heading
    // for the operator does. A host without fields ignores it.
    virtual void SetFieldText(int fieldId, std::string_view gbk) {
        (void)fieldId;
        (void)gbk;
    }
};

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
  public:
    explicit WaitCursor(DialogHost& host) : host_(host) { host_.BeginWaitCursor(); }
    ~WaitCursor() { host_.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    DialogHost& host_;
};

}  // namespace brisna
