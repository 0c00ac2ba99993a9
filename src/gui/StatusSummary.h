#pragma once
// What the status bar says about the book on show: its name, encoding and size, its chapters,
// its problems by kind, and a notice (a file name too long to generate, the files written).

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "check/ProblemKinds.h"
#include "text/TextEncoding.h"

namespace brisna {

struct StatusSummary {
    QString book;
    QString chapters;
    QString problems;
    QString notice;
    // Where the last generation wrote its files (absolute); empty when nothing was written.
    QString writtenFolder;

    bool operator==(const StatusSummary&) const = default;
};

// "1.5 MB", "12.0 KB", "300 字节".
QString SizeText(qint64 bytes);
// The name of an encoding as the status bar shows it.
QString EncodingText(TextEncoding encoding);
// The file name (last part) of a path given as its bytes.
QString FileNameOf(const std::string& pathBytes);
// "书名.txt（GBK，1.5 MB）": the kind is the encoding of a text book, or the book's format.
QString BookSummary(const std::string& pathBytes, const QString& kind);
// "章节 N", with the whole book's count when it is more than one book holds.
QString ChapterSummary(size_t marked, size_t inWholeBook);
// "阻止生成 1 · 可疑字 0 · 乱码 2 · 空行 19".
QString ProblemSummary(const ProblemCounts& counts);
// The warning about a book file name too long for generation; empty when the name fits.
QString NameLimitNotice(const std::string& bookSourcePath);
// "已写入 2 个文件：a.qbr2、a.qbr，保存在 /home/读者/书".
QString WrittenFilesNotice(const std::vector<std::string>& files);
// "共4册，39个文件，保存在 /home/读者/书": what 分册生成 wrote (every part makes a .qbr2 and .qbr
// files).
QString PartsWrittenNotice(size_t parts, const std::vector<std::string>& files);
// The absolute folder the files were written to (that of the first); empty for none.
QString WrittenFolder(const std::vector<std::string>& files);

}  // namespace brisna
