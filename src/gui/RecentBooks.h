#pragma once
// The books opened last, newest first, kept in the user's settings (the XDG config location,
// ~/.config/BrisnaMake/BrisnaMake.conf) so the menus can offer them again. Paths are stored as
// the platform's bytes, absolute and canonical, so an entry means the same file from whatever
// folder the program is started in, and a name that is not UTF-8 survives unchanged.

#include <QByteArray>
#include <QList>
#include <QString>
#include <string>

namespace brisna {

// What a recent book's path leads to now. Checking never throws: a folder the user may no
// longer enter, a loop of links or an over-long name is an answer, not an error.
enum class RecentBookState { kReadable, kMissing, kInaccessible };

class RecentBooks {
  public:
    static constexpr int kMaxBooks = 8;

    QList<QByteArray> Paths() const;
    // Puts the book first (as its canonical absolute path), dropping an older mention of it and
    // anything past the eighth.
    void Add(const std::string& pathBytes);
    void Remove(const QByteArray& pathBytes);

    // The absolute path with links and "." / ".." resolved as far as the file exists.
    static QByteArray CanonicalPath(const std::string& pathBytes);
    // How a path is shown in a menu.
    static QString Shown(const QByteArray& pathBytes);

    static RecentBookState StateOf(const QByteArray& pathBytes);
    // The note after a book that cannot be opened ("（文件不存在）", "（无法访问）"), empty for
    // a readable one.
    static QString StateNote(RecentBookState state);
    // The message for a book chosen from the menu that cannot be opened (UTF-8), empty for a
    // readable one.
    static std::string UnreadableMessage(const QByteArray& pathBytes, RecentBookState state);
};

}  // namespace brisna
