#include "storage/filelaterale.h"

#include "storage/connessione.h"
#include "storage/statement.h"

#include <sqlite3.h>

FileLaterale::FileLaterale(const QString &percorso) : percorso_(percorso)
{
    db_ = apriConnessione(percorso, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    try {
        proteggiConnessione(db_);
        esegui(QStringLiteral("PRAGMA journal_mode = DELETE"));
        esegui(QStringLiteral("PRAGMA synchronous = FULL"));
    } catch (...) {
        sqlite3_close_v2(db_);
        throw;
    }
}

FileLaterale::~FileLaterale()
{
    sqlite3_close_v2(db_);
}

void FileLaterale::esegui(const QString &sql, const QVariantList &valori)
{
    Statement s(db_, sql, percorso_);
    s.bindAll(valori);
    while (s.step()) {
    }
}

QVariant FileLaterale::valore(const QString &sql, const QVariantList &valori)
{
    Statement s(db_, sql, percorso_);
    s.bindAll(valori);
    return s.step() ? s.column(0) : QVariant();
}

QList<QVariantList> FileLaterale::righe(const QString &sql, const QVariantList &valori)
{
    Statement s(db_, sql, percorso_);
    s.bindAll(valori);
    QList<QVariantList> r;
    while (s.step()) {
        QVariantList riga;
        for (int i = 0; i < s.columnCount(); ++i)
            riga.append(s.column(i));
        r.append(riga);
    }
    return r;
}

FileLaterale::Transazione::Transazione(FileLaterale &f) : f_(f)
{
    f_.esegui(QStringLiteral("BEGIN IMMEDIATE"));
}

FileLaterale::Transazione::~Transazione()
{
    if (!chiusa_)
        sqlite3_exec(f_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void FileLaterale::Transazione::commit()
{
    f_.esegui(QStringLiteral("COMMIT"));
    chiusa_ = true;
}
