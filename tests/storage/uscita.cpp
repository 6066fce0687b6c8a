// A program that quits while the whole check of a large book runs on its own thread, as the
// user's program may at any moment after it started; tst_libro runs it, under the sanitizers
// too. It prints the folder of its cache (where the books found whole are written at its end),
// how many threads it runs while the check does, and how many once its application has ended,
// before its statics go (a sanitizer may run a thread of its own: hence the two counts).
//
//   uscita <a large book> <a book to make>
#include "storage/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <cstdio>
#include <thread>

namespace {

int fili()
{
    const QDir cartella(QStringLiteral("/proc/self/task"));
    return int(cartella.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    {
        QCoreApplication app(argc, argv);
        Database::crea(QString::fromLocal8Bit(argv[2])); // whole: the list written at the end
        Database::verificaInAnticipo(QString::fromLocal8Bit(argv[1]));
        // Until the check reads the whole file: the end comes in the middle of it.
        while (Database::controlliDiIntegrita() == 0)
            std::this_thread::yield();
        std::printf("%s\n",
                    qPrintable(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)));
        std::printf("%d\n", fili());
    }
    std::printf("%d\n", fili());
    return 0;
}
