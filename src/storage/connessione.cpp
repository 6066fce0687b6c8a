#include "storage/connessione.h"

#include "storage/engineerror.h"

#include <QFile>
#include <sqlite3.h>

Connessione::Connessione(const QString &percorso, Modo modo)
{
    const int flag = modo == Modo::SolaLettura        ? SQLITE_OPEN_READONLY
                     : modo == Modo::LetturaScrittura ? SQLITE_OPEN_READWRITE
                                                      : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db_,
                                   flag | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const EngineError e = EngineError::daSqlite(rc, sqlite3_system_errno(db_), percorso);
        chiudi();
        throw e;
    }
}

void Connessione::chiudi()
{
    // close_v2 waits for the statements still held (a set's, a cache's) to be finished.
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Connessione::proteggi()
{
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    // Sized for recipe books, so a hostile file cannot make a statement run away.
    sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, 64 * 1024 * 1024);
    sqlite3_limit(db_, SQLITE_LIMIT_SQL_LENGTH, 100 * 1024);
    sqlite3_limit(db_, SQLITE_LIMIT_COLUMN, 200);
    sqlite3_limit(db_, SQLITE_LIMIT_EXPR_DEPTH, 100);
    sqlite3_limit(db_, SQLITE_LIMIT_COMPOUND_SELECT, 10);
    sqlite3_limit(db_, SQLITE_LIMIT_FUNCTION_ARG, 8);
    sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db_, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 200);
    sqlite3_limit(db_, SQLITE_LIMIT_VARIABLE_NUMBER, 999);
    sqlite3_limit(db_, SQLITE_LIMIT_TRIGGER_DEPTH, 10);
    sqlite3_busy_timeout(db_, 3000);
}

void Connessione::fermaQuando(const std::atomic<bool> *fermo)
{
    if (!fermo) {
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
        return;
    }
    sqlite3_progress_handler(
        db_, 1000,
        [](void *f) { return static_cast<const std::atomic<bool> *>(f)->load() ? 1 : 0; },
        const_cast<std::atomic<bool> *>(fermo));
}
