// Who watches a book's rows from outside it, told by an update hook on each connection.
#include "storage/database.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <sqlite3.h>

std::shared_ptr<Database::Registro> Database::registro(const QString &percorso)
{
    // Never destroyed: a watcher kept in a static may leave after it at exit. A book's check
    // ahead opens it on another thread.
    static auto *registri = new QHash<QString, std::shared_ptr<Database::Registro>>;
    static auto *guardia = new QMutex;
    const QMutexLocker bloccato(guardia);
    std::shared_ptr<Database::Registro> &r = (*registri)[QFileInfo(percorso).canonicalFilePath()];
    if (!r)
        r = std::make_shared<Database::Registro>();
    return r;
}

static void rigaCambiata(void *registro, int, const char *, const char *tabella,
                         sqlite3_int64 chiave)
{
    auto *r = static_cast<Database::Registro *>(registro);
    const QMutexLocker bloccato(&r->guardia);
    if (r->osservatori.isEmpty())
        return;
    const QString nome = QString::fromUtf8(tabella);
    for (Database::Osservatore *o : r->osservatori)
        o->rigaCambiata(nome, chiave);
}

void Database::seguiRighe()
{
    sqlite3_update_hook(db_, &::rigaCambiata, registro_.get());
}

void Database::osserva(const QString &percorso, Osservatore *o)
{
    const std::shared_ptr<Registro> r = registro(percorso);
    const QMutexLocker bloccato(&r->guardia);
    r->osservatori.append(o);
}

void Database::nonOsservare(const QString &percorso, Osservatore *o)
{
    const std::shared_ptr<Registro> r = registro(percorso);
    const QMutexLocker bloccato(&r->guardia);
    r->osservatori.removeAll(o);
}

quint64 Database::scrittureNostre(const QString &percorso)
{
    return registro(percorso)->scritture;
}
