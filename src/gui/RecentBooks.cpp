#include "gui/RecentBooks.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QVariant>
#include <filesystem>
#include <system_error>

#include "gui/GuiMessages.h"
#include "gui/ProgramSettings.h"

namespace brisna {
namespace {

constexpr char kKey[] = "recentBooks";

}  // namespace

QList<QByteArray> RecentBooks::Paths() const {
    QList<QByteArray> paths;
    for (const QVariant& value : ProgramSettings().value(kKey).toList()) {
        // Earlier versions stored text; a relative path of theirs names no file for certain.
        const QByteArray path = value.typeId() == QMetaType::QByteArray
                                    ? value.toByteArray()
                                    : QFile::encodeName(value.toString());
        if (path.isEmpty() || !path.startsWith('/') || paths.contains(path)) continue;
        paths.append(path);
        if (paths.size() == kMaxBooks) break;
    }
    return paths;
}

QByteArray RecentBooks::CanonicalPath(const std::string& pathBytes) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::weakly_canonical(pathBytes, error);
    if (error || path.empty()) path = std::filesystem::absolute(pathBytes, error);
    if (error) return QByteArray::fromStdString(pathBytes);
    return QByteArray::fromStdString(path.native());
}

void RecentBooks::Add(const std::string& pathBytes) {
    if (pathBytes.empty()) return;
    const QByteArray path = CanonicalPath(pathBytes);
    QList<QByteArray> paths = Paths();
    paths.removeAll(path);
    paths.prepend(path);
    while (paths.size() > kMaxBooks) paths.removeLast();
    QVariantList stored;
    for (const QByteArray& p : paths) stored.append(p);
    ProgramSettings().setValue(kKey, stored);
}

void RecentBooks::Remove(const QByteArray& pathBytes) {
    QList<QByteArray> paths = Paths();
    if (paths.removeAll(pathBytes) == 0) return;
    QVariantList stored;
    for (const QByteArray& p : paths) stored.append(p);
    ProgramSettings().setValue(kKey, stored);
}

QString RecentBooks::Shown(const QByteArray& pathBytes) {
    return QDir::toNativeSeparators(QFile::decodeName(pathBytes));
}

RecentBookState RecentBooks::StateOf(const QByteArray& pathBytes) {
    std::error_code error;
    const std::filesystem::file_status status =
        std::filesystem::status(pathBytes.toStdString(), error);
    if (status.type() == std::filesystem::file_type::not_found) return RecentBookState::kMissing;
    if (error) return RecentBookState::kInaccessible;
    // A folder or a device in its place is no book either.
    if (status.type() != std::filesystem::file_type::regular) return RecentBookState::kMissing;
    // Opened by its bytes: a name that is not UTF-8 (unpacked from an archive made on Chinese
    // Windows) has no faithful QString.
    const int fd = ::open(pathBytes.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return RecentBookState::kInaccessible;
    ::close(fd);
    return RecentBookState::kReadable;
}

QString RecentBooks::StateNote(RecentBookState state) {
    switch (state) {
        case RecentBookState::kReadable:
            return {};
        case RecentBookState::kMissing:
            return QString::fromUtf8(gui::messages::kRecentMissingMark);
        case RecentBookState::kInaccessible:
            return QString::fromUtf8(gui::messages::kRecentInaccessibleMark);
    }
    return {};
}

std::string RecentBooks::UnreadableMessage(const QByteArray& pathBytes, RecentBookState state) {
    const std::string shown = Shown(pathBytes).toStdString();
    switch (state) {
        case RecentBookState::kReadable:
            return {};
        case RecentBookState::kMissing:
            return gui::messages::kRecentMissing + shown;
        case RecentBookState::kInaccessible:
            return gui::messages::kRecentInaccessible + shown;
    }
    return {};
}

}  // namespace brisna
