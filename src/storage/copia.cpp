// Whole-file copies of a book: the import's backup and its restore.
#include "storage/database.h"

#include "storage/engineerror.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <unistd.h>

namespace {

// The cause of a failed file operation, as the system named it right after it failed.
[[noreturn]] void fallito(const QFileDevice &file, const QString &nome, bool destinazione)
{
    int causa = errno;
    if (causa == 0 && file.error() == QFileDevice::ResourceError)
        causa = ENOSPC;
    // A copy is made beside its destination: a missing file there is a missing folder.
    if (destinazione && causa == ENOENT)
        throw EngineError(EngineError::CartellaNonTrovata, nome);
    throw EngineError::daFile(causa, nome);
}

void copiaFile(const QString &da, const QString &a)
{
    QFile sorgente(da);
    QSaveFile destinazione(a);
    errno = 0;
    if (!sorgente.open(QIODevice::ReadOnly))
        fallito(sorgente, da, false);
    errno = 0;
    if (!destinazione.open(QIODevice::WriteOnly))
        fallito(destinazione, a, true);
    // The kernel copies the bytes (or shares the blocks, on a file system that can); where it
    // cannot copy between these two files, they go through the program.
    const int in = sorgente.handle();
    const int out = destinazione.handle();
    qint64 copiati = 0;
    bool aMano = false;
    for (;;) {
        errno = 0;
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n > 0) {
            copiati += n;
            continue;
        }
        if (n == 0)
            break;
        if (copiati == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL ||
                             errno == EOPNOTSUPP || errno == EBADF)) {
            aMano = true;
            break;
        }
        const bool piena = errno == ENOSPC || errno == EDQUOT || errno == EFBIG;
        if (piena)
            fallito(destinazione, a, true);
        fallito(sorgente, da, false);
    }
    while (aMano && !sorgente.atEnd()) {
        errno = 0;
        const QByteArray blocco = sorgente.read(1 << 20);
        if (blocco.isEmpty())
            fallito(sorgente, da, false);
        errno = 0;
        if (destinazione.write(blocco) != blocco.size())
            fallito(destinazione, a, true);
    }
    errno = 0;
    if (!destinazione.commit())
        fallito(destinazione, a, true);
}

} // namespace

void Database::copiaDiSicurezza(const QString &libro, const QString &copia)
{
    const std::shared_ptr<Database> d = apri(libro);
    // A shared lock: no other program writes while the bytes are read.
    const Lettura lettura(*d);
    d->valore("SELECT count(*) FROM sqlite_master");
    copiaFile(libro, copia);
}

void Database::ripristina(const QString &copia, const QString &libro)
{
    if (!QFileInfo(copia).isFile())
        throw EngineError(EngineError::FileNonTrovato, copia);
    chiudiConnessioni(libro);
    copiaFile(copia, libro);
    // Only now: until the copy is in place a journal may be what completes the book's rollback.
    for (const char *resto : {"-journal", "-wal", "-shm"})
        QFile::remove(libro + QLatin1String(resto));
}
