// Prints the MIME type Qt's database gives each file named on the command line, one a line: the
// type a Qt-based file manager shows. XDG_DATA_DIRS chooses the databases it reads.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    const QMimeDatabase database;
    QTextStream out(stdout);
    for (const QString& path : QCoreApplication::arguments().mid(1))
        out << database.mimeTypeForFile(path).name() << "\n";
    return 0;
}
