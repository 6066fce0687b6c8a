#include "storage/transazione.h"

#include "storage/connessione.h"
#include "storage/statement.h"

#include <sqlite3.h>

Transazione::Transazione(Connessione &connessione, const QString &percorso, Tipo tipo)
    : connessione_(connessione), percorso_(percorso), tipo_(tipo)
{
    sqlite3 *db = connessione_.get();
    if (!db || (tipo_ == Tipo::Lettura && !sqlite3_get_autocommit(db)))
        return;
    const char *inizio = tipo_ == Tipo::Scrittura ? "BEGIN IMMEDIATE" : "BEGIN";
    if (const int rc = sqlite3_exec(db, inizio, nullptr, nullptr, nullptr); rc != SQLITE_OK)
        lanciaErroreSqlite(db, rc, percorso_);
    aperta_ = true;
}

Transazione::~Transazione()
{
    // A read has nothing to undo: its end lets the lock go the cheapest way.
    if (aperta_ && tipo_ == Tipo::Lettura && connessione_ &&
        sqlite3_exec(connessione_.get(), "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
        return;
    annulla();
}

void Transazione::commit()
{
    sqlite3 *db = connessione_.get();
    if (!aperta_ || !db)
        return;
    if (const int rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr); rc != SQLITE_OK)
        lanciaErroreSqlite(db, rc, percorso_);
    aperta_ = false;
}

bool Transazione::annulla()
{
    const bool aperta = aperta_ && connessione_;
    // SQLite may have rolled back already (an interrupt, a full disk): nothing more to do then.
    if (aperta && !sqlite3_get_autocommit(connessione_.get()))
        sqlite3_exec(connessione_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    aperta_ = false;
    return aperta;
}
