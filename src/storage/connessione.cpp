#include "storage/connessione.h"

#include "storage/engineerror.h"

#include <QFile>
#include <sqlite3.h>

sqlite3 *apriConnessione(const QString &percorso, int flag)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db,
                                   // One thread uses a connection: no locking per call.
                                   flag | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const EngineError e = EngineError::daSqlite(rc, sqlite3_system_errno(db), percorso);
        sqlite3_close_v2(db);
        throw e;
    }
    return db;
}

void proteggiConnessione(sqlite3 *db)
{
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    // Sized for recipe books, so a hostile file cannot make a statement run away.
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 64 * 1024 * 1024);
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 100 * 1024);
    sqlite3_limit(db, SQLITE_LIMIT_COLUMN, 200);
    sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 100);
    sqlite3_limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 10);
    sqlite3_limit(db, SQLITE_LIMIT_FUNCTION_ARG, 8);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 200);
    sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, 999);
    sqlite3_limit(db, SQLITE_LIMIT_TRIGGER_DEPTH, 10);
    sqlite3_busy_timeout(db, 3000);
}
