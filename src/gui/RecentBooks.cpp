#include "gui/RecentBooks.h"

#include <QSettings>

namespace brisna {
namespace {

constexpr char kKey[] = "recentBooks";

QSettings Settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrisnaMake"),
                     QStringLiteral("BrisnaMake"));
}

}  // namespace

QStringList RecentBooks::Paths() const {
    QStringList paths = Settings().value(kKey).toStringList();
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
    Settings().setValue(kKey, paths);
}

void RecentBooks::Remove(const QString& path) {
    QStringList paths = Paths();
    if (paths.removeAll(path) > 0) Settings().setValue(kKey, paths);
}

}  // namespace brisna
