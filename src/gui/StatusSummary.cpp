#include "gui/StatusSummary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Capacities.h"
#include "check/CheckMessages.h"
#include "check/ValidationRules.h"
#include "gui/GuiMessages.h"

namespace brisna {

QString SizeText(qint64 bytes) {
    if (bytes < 1024) return QString::fromUtf8(gui::messages::kBytes).arg(bytes);
    if (bytes < 1024 * 1024) return QStringLiteral("%1 KB").arg(bytes / 1024.0, 0, 'f', 1);
    return QStringLiteral("%1 MB").arg(bytes / (1024.0 * 1024.0), 0, 'f', 1);
}

QString EncodingText(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::kUtf8:
            return QStringLiteral("UTF-8");
        case TextEncoding::kUtf16Le:
            return QStringLiteral("UTF-16LE");
        case TextEncoding::kUtf16Be:
            return QStringLiteral("UTF-16BE");
        case TextEncoding::kBig5:
            return QStringLiteral("Big5");
        default:
            return QStringLiteral("GBK");
    }
}

QString FileNameOf(const std::string& pathBytes) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(pathBytes))).fileName();
}

QString BookSummary(const std::string& pathBytes, const QString& kind) {
    const qint64 bytes = QFileInfo(QFile::decodeName(QByteArray::fromStdString(pathBytes))).size();
    return QString::fromUtf8(gui::messages::kBookSummary)
        .arg(FileNameOf(pathBytes), kind, SizeText(bytes));
}

QString ChapterSummary(size_t marked, size_t inWholeBook) {
    QString text = QString::fromUtf8(gui::messages::kChapterCount).arg(marked);
    if (inWholeBook > kMaxChapters) {
        text += QString::fromUtf8(gui::messages::kOverChapterLimit).arg(inWholeBook);
    }
    return text;
}

QString ProblemSummary(const ProblemCounts& counts) {
    QString text = QString::fromUtf8(gui::messages::kProblemCounts)
                       .arg(counts.blocking)
                       .arg(counts.suspicious)
                       .arg(counts.garbled)
                       .arg(counts.emptyLines);
    if (counts.other > 0)
        text += QString::fromUtf8(gui::messages::kOtherProblems).arg(counts.other);
    return text;
}

QString NameLimitNotice(const std::string& bookSourcePath) {
    // The name limit of generation, told when the book opens rather than after the work.
    const size_t nameBytes = BookFileNameBytes(bookSourcePath);
    if (bookSourcePath.empty() || nameBytes <= kMaxBookFileNameBytes) return {};
    const std::string_view refusal = check_messages::kNameTooLong;
    return QString::fromUtf8(gui::messages::kNameLimitNotice)
        .arg(nameBytes)
        .arg(kMaxBookFileNameBytes)
        .arg(QString::fromUtf8(refusal.data(), static_cast<qsizetype>(refusal.size())));
}

QString WrittenFilesNotice(const std::vector<std::string>& files) {
    QStringList names;
    for (const std::string& file : files) names.append(FileNameOf(file));
    QString notice = QString::fromUtf8(gui::messages::kFilesWritten)
                         .arg(names.size())
                         .arg(names.join(QString::fromUtf8(gui::messages::kListSeparator)));
    // A relative folder says nothing when the program was started elsewhere.
    const QString folder = WrittenFolder(files);
    if (!folder.isEmpty()) notice += QString::fromUtf8(gui::messages::kSavedIn) + folder;
    return notice;
}

QString PartsWrittenNotice(size_t parts, const std::vector<std::string>& files) {
    return QString::fromUtf8(gui::messages::kPartsWritten)
        .arg(parts)
        .arg(files.size())
        .arg(WrittenFolder(files));
}

QString WrittenFolder(const std::vector<std::string>& files) {
    if (files.empty()) return {};
    const QFileInfo first(QFile::decodeName(QByteArray::fromStdString(files.front())));
    return QDir::toNativeSeparators(first.absoluteDir().absolutePath());
}

}  // namespace brisna
