#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

struct sqlite3;

// A fresh recipe book in a temporary folder, made with the template writer, and plain SQL on it
// through the bare SQLite API (not through the layer under test).
class LibroDiProva
{
public:
    LibroDiProva();
    const QString &percorso() const { return percorso_; }
    QString cartella() const { return dir_.path(); }

    qint64 categoria(const QString &nome);
    qint64 ingrediente(const QString &nome);
    qint64 ricetta(const QString &nome, qint64 categoria = 0, bool vegetariana = false);
    qint64 riga(qint64 ricetta, qint64 ingrediente, const QString &quantita = "1",
                const QString &commento = QString());

    // Every row of a query, each row a list of values.
    QList<QVariantList> righe(const QString &sql, const QVariantList &valori = {}) const;
    QVariant valore(const QString &sql, const QVariantList &valori = {}) const;
    qint64 esegui(const QString &sql, const QVariantList &valori = {}); // returns the new key

    static QList<QVariantList> righe(const QString &file, const QString &sql,
                                     const QVariantList &valori = {});

private:
    QTemporaryDir dir_;
    QString percorso_;
};

// Another program's connection to a book, holding what its statements leave open (a lock, pages
// still in the WAL) until it is let go.
class AltroProgramma
{
public:
    explicit AltroProgramma(const QString &file, const char *sql = "BEGIN EXCLUSIVE");
    ~AltroProgramma() { lascia(); }
    void esegui(const char *sql);
    void lascia(); // closing rolls back what it held

private:
    sqlite3 *db_ = nullptr;
};
