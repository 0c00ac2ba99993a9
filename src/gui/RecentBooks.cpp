#include "gui/RecentBooks.h"

#include "gui/ProgramSettings.h"

namespace brisna {
namespace {

constexpr char kKey[] = "recentBooks";

}  // namespace

QStringList RecentBooks::Paths() const {
    QStringList paths = ProgramSettings().value(kKey).toStringList();
    paths.removeAll(QString());
    paths.removeDuplicates();
    while (paths.size() > kMaxBooks) paths.removeLast();
    return paths;
}

void RecentBooks::Add(const QString& path) {
    if (path.isEmpty()) return;
    QStringList paths = Paths();
    paths.removeAll(path);
    paths.prepend(path);
    while (paths.size() > kMaxBooks) paths.removeLast();
    ProgramSettings().setValue(kKey, paths);
}

void RecentBooks::Remove(const QString& path) {
    QStringList paths = Paths();
    if (paths.removeAll(path) > 0) ProgramSettings().setValue(kKey, paths);
}

}  // namespace brisna
