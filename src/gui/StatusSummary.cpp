#include "gui/StatusSummary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Capacities.h"
#include "check/ValidationRules.h"

namespace brisna {

QString SizeText(qint64 bytes) {
    if (bytes < 1024) return QStringLiteral("%1 字节").arg(bytes);
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
    return QStringLiteral("%1（%2，%3）").arg(FileNameOf(pathBytes), kind, SizeText(bytes));
}

QString ChapterSummary(size_t marked, size_t inWholeBook) {
    QString text = QStringLiteral("章节 %1").arg(marked);
    if (inWholeBook > kMaxChapters) {
        text += QStringLiteral("（全书 %1 章，超过98章）").arg(inWholeBook);
    }
    return text;
}

QString ProblemSummary(const ProblemCounts& counts) {
    QString text = QStringLiteral("阻止生成 %1 · 可疑字 %2 · 乱码 %3 · 空行 %4")
                       .arg(counts.blocking)
                       .arg(counts.suspicious)
                       .arg(counts.garbled)
                       .arg(counts.emptyLines);
    if (counts.other > 0) text += QStringLiteral(" · 其他 %1").arg(counts.other);
    return text;
}

QString NameLimitNotice(const std::string& bookSourcePath) {
    // The name limit of generation, told when the book opens rather than after the work.
    const size_t nameBytes = BookFileNameBytes(bookSourcePath);
    if (bookSourcePath.empty() || nameBytes <= kMaxBookFileNameBytes) return {};
    return QStringLiteral(
               "文件名长 %1 字节（最多 %2）：生成qbr时会提示"
               "“QBR文件名不能超过15个汉字”，请先改短文件名")
        .arg(nameBytes)
        .arg(kMaxBookFileNameBytes);
}

QString WrittenFilesNotice(const std::vector<std::string>& files) {
    QStringList names;
    for (const std::string& file : files) names.append(FileNameOf(file));
    QString notice = QStringLiteral("已写入 %1 个文件：%2")
                         .arg(names.size())
                         .arg(names.join(QStringLiteral("、")));
    // A relative folder says nothing when the program was started elsewhere.
    const QString folder = WrittenFolder(files);
    if (!folder.isEmpty()) notice += QStringLiteral("，保存在 ") + folder;
    return notice;
}

QString PartsWrittenNotice(size_t parts, const std::vector<std::string>& files) {
    return QStringLiteral("共%1册，%2个文件，保存在 %3")
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
