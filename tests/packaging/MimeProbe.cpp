// Prints the MIME type the desktop's shared MIME database gives each file named on the command
// line, one per line: the packaging test runs it against a database built from the package.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QStringList>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList files = QCoreApplication::arguments().mid(1);
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: brisna_mime_probe FILE...\n");
        return 2;
    }
    const QMimeDatabase database;
    for (const QString& file : files) {
        std::printf("%s\n", qPrintable(database.mimeTypeForFile(file).name()));
    }
    return 0;
}
