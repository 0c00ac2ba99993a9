// Recent books whose paths the disk no longer answers for plainly: checking them must never
// throw (the window checks every one at start), and each is named for what it is.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <string>

#include "gui/RecentBooks.h"

using brisna::RecentBooks;
using brisna::RecentBookState;

class RecentBooksTest : public QObject {
    Q_OBJECT

  private slots:
    void everyPathGetsAStateWithoutThrowing();
};

void RecentBooksTest::everyPathGetsAStateWithoutThrowing() {
    QTemporaryDir work;
    const QByteArray root = QFile::encodeName(work.path());
    QFile book(work.filePath(QStringLiteral("book.txt")));
    QVERIFY(book.open(QIODevice::WriteOnly));
    book.write("text");
    book.close();
    QVERIFY(QDir(work.path()).mkdir(QStringLiteral("folder")));
    // A link to itself: every lookup through it fails with "Too many levels of symbolic links".
    QVERIFY(
        QFile::link(work.filePath(QStringLiteral("loop")), work.filePath(QStringLiteral("loop"))));

    const struct {
        QByteArray path;
        RecentBookState state;
        QString note;
    } cases[] = {
        {root + "/book.txt", RecentBookState::kReadable, QString()},
        {root + "/gone.txt", RecentBookState::kMissing, QStringLiteral("（文件不存在）")},
        {root + "/folder", RecentBookState::kMissing, QStringLiteral("（文件不存在）")},
        {root + "/loop", RecentBookState::kInaccessible, QStringLiteral("（无法访问）")},
        {root + "/loop/book.txt", RecentBookState::kInaccessible, QStringLiteral("（无法访问）")},
        {root + "/" + QByteArray(300, 'n') + ".txt", RecentBookState::kInaccessible,
         QStringLiteral("（无法访问）")},
    };
    for (const auto& c : cases) {
        const RecentBookState state = RecentBooks::StateOf(c.path);
        QCOMPARE(state, c.state);
        QCOMPARE(RecentBooks::StateNote(state), c.note);
        QCOMPARE(RecentBooks::UnreadableMessage(c.path, state).empty(),
                 c.state == RecentBookState::kReadable);
    }
    QVERIFY(RecentBooks::UnreadableMessage(root + "/loop", RecentBookState::kInaccessible)
                .starts_with("无法访问文件"));
}

QTEST_MAIN(RecentBooksTest)
#include "RecentBooksTest.moc"
