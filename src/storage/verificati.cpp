// The books found whole: for each book whose whole check passed, its fingerprint as it was then,
// or after the program's own last commit to it. Reading every page again is needed only when the
// file differs (another program wrote it, a copy was put in its place, a backup restored). Kept
// across runs in the user's cache folder (never in the book), written when the program ends and
// read at the first opening; an entry goes when its book fails a check or no longer matches.
// Taken by the check ahead on its own thread too; never destroyed, as a check may still run
// while the program ends.
#include "storage/database.h"

#include "storage/impronta.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>
#include <QStandardPaths>
#include <atomic>

namespace {

QMutex &guardia()
{
    static auto *m = new QMutex;
    return *m;
}

QString fileVerificati()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : QDir(cache).filePath(QStringLiteral("verificati"));
}

// One line a book: its fingerprint as text, a tab, its canonical path.
void leggi(QHash<QString, Impronta> &verificati)
{
    verificati.clear();
    QFile f(fileVerificati());
    if (!f.open(QIODevice::ReadOnly))
        return;
    while (!f.atEnd()) {
        const QString riga = QString::fromUtf8(f.readLine()).chopped(1);
        const qsizetype tab = riga.indexOf(QLatin1Char('\t'));
        const Impronta i = Impronta::daTesto(riga.left(tab));
        if (tab > 0 && i.valida())
            verificati.insert(riga.mid(tab + 1), i);
    }
}

// Under guardia().
QHash<QString, Impronta> &verificati()
{
    static auto *v = [] {
        auto *letti = new QHash<QString, Impronta>;
        leggi(*letti);
        if (QCoreApplication::instance())
            qAddPostRoutine(&Database::salvaVerificati);
        return letti;
    }();
    return *v;
}

std::atomic<quint64> controlliCompleti = 0;

} // namespace

quint64 Database::controlliDiIntegrita()
{
    return controlliCompleti;
}

bool Database::giaVerificato(const QString &canonico, const Impronta &adesso)
{
    const QMutexLocker bloccato(&guardia());
    return adesso.valida() && verificati().value(canonico) == adesso;
}

void Database::contaControllo()
{
    ++controlliCompleti;
}

void Database::verificatoCosi(const QString &canonico, const Impronta &adesso)
{
    const QMutexLocker bloccato(&guardia());
    verificati().insert(canonico, adesso);
}

void Database::nonVerificato(const QString &canonico)
{
    const QMutexLocker bloccato(&guardia());
    verificati().remove(canonico);
}

void Database::scritturaNostra(const QString &percorso)
{
    const QString canonico = QFileInfo(percorso).canonicalFilePath();
    const QMutexLocker bloccato(&guardia());
    if (verificati().contains(canonico))
        verificati().insert(canonico, Impronta::di(percorso));
}

void Database::verificato(const QString &percorso)
{
    const QMutexLocker bloccato(&guardia());
    verificati().insert(QFileInfo(percorso).canonicalFilePath(), Impronta::di(percorso));
}

void Database::salvaVerificati()
{
    fermaVerifiche(); // a check still running would change the list while it is written
    const QString nome = fileVerificati();
    if (nome.isEmpty())
        return;
    QByteArray testo;
    {
        const QMutexLocker bloccato(&guardia());
        // Books gone since are not kept.
        for (auto i = verificati().cbegin(); i != verificati().cend(); ++i)
            if (!i.key().contains(QLatin1Char('\n')) && QFileInfo::exists(i.key()))
                testo += (i.value().testo() + QLatin1Char('\t') + i.key()).toUtf8() + '\n';
    }
    // A copy for speed: when it cannot be written, the next run checks the books again.
    QDir().mkpath(QFileInfo(nome).absolutePath());
    QSaveFile f(nome);
    if (f.open(QIODevice::WriteOnly) && f.write(testo) == testo.size())
        f.commit();
}

void Database::ricaricaVerifiche()
{
    salvaVerificati();
    const QMutexLocker bloccato(&guardia());
    leggi(verificati());
}
