// The books found whole: for each book whose whole check passed, its fingerprint as it was then,
// or after the program's own last commit to it (Libro::intero). Reading every page again is
// needed only when the file differs (another program wrote it, a copy was put in its place, a
// backup restored). Kept across runs in the user's cache folder (never in the book), written when
// the program ends and read when the registry of books is made; an entry goes when its book fails
// a check or no longer matches. Taken by the check ahead on its own thread too: under the
// registry's lock.
#include "storage/database.h"

#include "storage/impronta.h"
#include "storage/libri.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <atomic>

namespace {

QString fileVerificati()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : QDir(cache).filePath(QStringLiteral("verificati"));
}

std::atomic<quint64> controlliCompleti = 0;

} // namespace

// One line a book: its fingerprint as text, a tab, its canonical path.
void Libri::leggiVerificati()
{
    const QMutexLocker bloccato(&guardiaLibri_);
    for (const std::shared_ptr<Libro> &l : std::as_const(libri_))
        l->intero.reset();
    QFile f(fileVerificati());
    if (!f.open(QIODevice::ReadOnly))
        return;
    while (!f.atEnd()) {
        const QString riga = QString::fromUtf8(f.readLine()).chopped(1);
        const qsizetype tab = riga.indexOf(QLatin1Char('\t'));
        const Impronta i = Impronta::daTesto(riga.left(tab));
        if (tab > 0 && i.valida())
            libro(riga.mid(tab + 1)).intero = i;
    }
}

quint64 Database::controlliDiIntegrita()
{
    return controlliCompleti;
}

void Database::contaControllo()
{
    ++controlliCompleti;
}

bool Database::giaVerificato(const QString &canonico, const Impronta &adesso)
{
    return adesso.valida() &&
           Libri::registro().con(canonico, [&](Libro &l) { return l.intero == adesso; });
}

void Database::verificatoCosi(const QString &canonico, const Impronta &adesso)
{
    Libri::registro().con(canonico, [&](Libro &l) { l.intero = adesso; });
}

void Database::nonVerificato(const QString &canonico)
{
    Libri::registro().con(canonico, [](Libro &l) { l.intero.reset(); });
}

void Database::scritturaNostra(const QString &percorso)
{
    const Impronta adesso = Impronta::di(percorso);
    Libri::registro().con(QFileInfo(percorso).canonicalFilePath(), [&](Libro &l) {
        if (l.intero)
            l.intero = adesso;
    });
}

void Database::verificato(const QString &percorso)
{
    verificatoCosi(QFileInfo(percorso).canonicalFilePath(), Impronta::di(percorso));
}

void Database::salvaVerificati()
{
    const QString nome = fileVerificati();
    if (nome.isEmpty())
        return;
    QByteArray testo;
    Libri::registro().conTutti([&](const QHash<QString, std::shared_ptr<Libro>> &libri) {
        // Books gone since are not kept.
        for (auto i = libri.cbegin(); i != libri.cend(); ++i)
            if (i.value()->intero && !i.key().contains(QLatin1Char('\n')) &&
                QFileInfo::exists(i.key()))
                testo += (i.value()->intero->testo() + QLatin1Char('\t') + i.key()).toUtf8() + '\n';
    });
    // A copy for speed: when it cannot be written, the next run checks the books again.
    QDir().mkpath(QFileInfo(nome).absolutePath());
    QSaveFile f(nome);
    if (f.open(QIODevice::WriteOnly) && f.write(testo) == testo.size())
        f.commit();
}

void Database::ricaricaVerifiche()
{
    fermaVerifiche();
    salvaVerificati();
    Libri::registro().leggiVerificati();
}
