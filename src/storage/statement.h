#pragma once

#include <QString>
#include <QVariant>

class Connessione;
struct sqlite3;
struct sqlite3_stmt;

// One prepared SQLite statement; finalized when it goes out of scope.
class Statement
{
public:
    Statement(sqlite3 *db, const QString &sql, const QString &percorso = QString());
    Statement(const Connessione &connessione, const QString &sql,
              const QString &percorso = QString());
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int indice, const QVariant &valore); // 1-based, as SQLite counts
    Statement &bindAll(const QVariantList &valori);
    bool step(); // true while a row is ready
    void reset();

    int columnCount() const;
    QVariant column(int i) const;
    QString columnName(int i) const;
    QString columnTable(int i) const; // the table a result column comes from, empty for expressions
    QString columnOrigin(int i) const; // the column it comes from, empty for expressions
    QString columnDecltype(int i) const;

    sqlite3_stmt *handle() const { return stmt_; }

private:
    sqlite3 *db_;
    sqlite3_stmt *stmt_ = nullptr;
    QString percorso_;
};

// A table's or a column's name as a statement's text writes it.
QString quotaNome(const QString &nome);

// Throws the EngineError that matches a SQLite result code (extended) and the system's cause.
[[noreturn]] void lanciaErroreSqlite(sqlite3 *db, int rc, const QString &percorso);
