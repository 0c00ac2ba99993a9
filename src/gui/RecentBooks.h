#pragma once
// The books opened last, newest first, kept in the user's settings (the XDG config location,
// ~/.config/BrisnaMake/BrisnaMake.conf) so the background menu can offer them again.

#include <QString>
#include <QStringList>

namespace brisna {

class RecentBooks {
  public:
    static constexpr int kMaxBooks = 8;

    QStringList Paths() const;
    // Puts the path first, dropping an older mention of it and anything past the eighth.
    void Add(const QString& path);
    void Remove(const QString& path);
};

}  // namespace brisna
