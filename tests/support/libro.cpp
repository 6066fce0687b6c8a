#include "libro.h"

#include "storage/database.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>
#include <stdexcept>

LibroDiProva::LibroDiProva() : percorso_(QDir(dir_.path()).filePath("Prova.mdb"))
{
    Database::crea(percorso_);
}

QList<QVariantList> LibroDiProva::righe(const QString &file, const QString &sql,
                                        const QVariantList &valori)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open test book");
    }
    sqlite3_exec(db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    sqlite3_stmt *s = nullptr;
    const QByteArray testo = sql.toUtf8();
    if (sqlite3_prepare_v2(db, testo.constData(), -1, &s, nullptr) != SQLITE_OK) {
        const std::string errore = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(errore);
    }
    for (int i = 0; i < valori.size(); ++i) {
        const QVariant &v = valori.at(i);
        if (v.isNull())
            sqlite3_bind_null(s, i + 1);
        else if (v.typeId() == QMetaType::QString)
            sqlite3_bind_text(s, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_int64(s, i + 1, v.toLongLong());
    }
    QList<QVariantList> risultato;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        QVariantList r;
        for (int c = 0; c < sqlite3_column_count(s); ++c) {
            const int tipo = sqlite3_column_type(s, c);
            if (tipo == SQLITE_INTEGER)
                r << qlonglong(sqlite3_column_int64(s, c));
            else if (tipo == SQLITE_FLOAT)
                r << sqlite3_column_double(s, c);
            else if (tipo == SQLITE_NULL)
                r << QVariant();
            else
                r << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, c)));
        }
        risultato << r;
    }
    const std::string errore = rc == SQLITE_DONE ? std::string() : sqlite3_errmsg(db);
    sqlite3_finalize(s);
    if (rc == SQLITE_DONE && sql.trimmed().startsWith("insert", Qt::CaseInsensitive))
        risultato << QVariantList{qlonglong(sqlite3_last_insert_rowid(db))};
    sqlite3_close(db);
    if (!errore.empty())
        throw std::runtime_error(errore);
    return risultato;
}

QList<QVariantList> LibroDiProva::righe(const QString &sql, const QVariantList &valori) const
{
    return righe(percorso_, sql, valori);
}

QVariant LibroDiProva::valore(const QString &sql, const QVariantList &valori) const
{
    const QList<QVariantList> r = righe(sql, valori);
    return r.isEmpty() || r.first().isEmpty() ? QVariant() : r.first().first();
}

qint64 LibroDiProva::esegui(const QString &sql, const QVariantList &valori)
{
    const QList<QVariantList> r = righe(sql, valori);
    return r.isEmpty() ? 0 : r.last().value(0).toLongLong();
}

qint64 LibroDiProva::categoria(const QString &nome)
{
    return esegui("INSERT INTO \"Categorie alimentari\" (CategoriaAlimentare) VALUES (?)", {nome});
}

qint64 LibroDiProva::ingrediente(const QString &nome)
{
    return esegui("INSERT INTO Ingredienti (Ingrediente) VALUES (?)", {nome});
}

qint64 LibroDiProva::ricetta(const QString &nome, qint64 categoria, bool vegetariana)
{
    return esegui("INSERT INTO Ricette (NomeRicetta, IDCategoriaAlimentare, Vegetariana, "
                  "NumeroPorzioni) VALUES (?, ?, ?, 4)",
                  {nome, categoria, vegetariana ? -1 : 0});
}

qint64 LibroDiProva::riga(qint64 ricetta, qint64 ingrediente, const QString &quantita,
                          const QString &commento)
{
    return esegui("INSERT INTO ingredienti_ricetta (IDRicetta, IDIngrediente, \"Quantità\", "
                  "Commenti) VALUES (?, ?, ?, ?)",
                  {ricetta, ingrediente, quantita, commento});
}

AltroProgramma::AltroProgramma(const QString &file, const char *sql)
{
    sqlite3_open(QFile::encodeName(file).constData(), &db_);
    esegui(sql);
}

void AltroProgramma::esegui(const char *sql)
{
    sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

void AltroProgramma::lascia()
{
    sqlite3_close(db_);
    db_ = nullptr;
}
