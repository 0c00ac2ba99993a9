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
};

}  // namespace brisna
