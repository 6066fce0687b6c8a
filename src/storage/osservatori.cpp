// What SQLite tells of each row our connections write (the update hook): the write versions
// count it, and who watches the book's rows from outside it is told. The watchers are in the
// registry of books, under its lock: one may live on another thread (the content search's).
#include "storage/database.h"

#include "storage/libri.h"

#include <QFileInfo>
#include <sqlite3.h>

void Database::rigaCambiata(void *database, int, const char *, const char *tabella,
                            long long chiave)
{
    static_cast<Database *>(database)->rigaScritta(tabella, chiave);
}

void Database::seguiRighe()
{
    sqlite3_update_hook(connessione_.get(), &rigaCambiata, this);
}

void Database::rigaScritta(const char *tabella, qint64 chiave)
{
    contaRiga(tabella);
    Libri::registro().con(*libro_, [&](Libro &l) {
        if (l.osservatori.isEmpty())
            return;
        const QString nome = QString::fromUtf8(tabella);
        for (Osservatore *o : std::as_const(l.osservatori))
            o->rigaCambiata(nome, chiave);
    });
}

void Database::osserva(const QString &percorso, Osservatore *o)
{
    Libri::registro().con(QFileInfo(percorso).canonicalFilePath(),
                          [o](Libro &l) { l.osservatori.append(o); });
}

void Database::nonOsservare(const QString &percorso, Osservatore *o)
{
    Libri::registro().con(QFileInfo(percorso).canonicalFilePath(),
                          [o](Libro &l) { l.osservatori.removeAll(o); });
}

quint64 Database::scrittureNostre(const QString &percorso)
{
    return Libri::registro().con(QFileInfo(percorso).canonicalFilePath(),
                                 [](Libro &l) { return l.scritture; });
}
