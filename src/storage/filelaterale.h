#pragma once

#include "storage/connessione.h"
#include "storage/transazione.h"

#include <QList>
#include <QString>
#include <QVariant>

// A small SQLite file of the program's own kept beside a book (the shopping list), never a book:
// opened with a book's connection rules (a file from anywhere; a commit survives a crash or a
// power cut). One thread uses it; it is closed with this object.
class FileLaterale
{
public:
    // Opens the file, creating it when missing. Throws EngineError naming the cause.
    explicit FileLaterale(const QString &percorso);
    FileLaterale(const FileLaterale &) = delete;
    FileLaterale &operator=(const FileLaterale &) = delete;

    const QString &percorso() const { return percorso_; }

    // Each throws EngineError naming the cause (damaged, disk full, read-only...).
    void esegui(const QString &sql, const QVariantList &valori = {});
    QVariant valore(const QString &sql, const QVariantList &valori = {});
    QList<QVariantList> righe(const QString &sql, const QVariantList &valori = {});

    // A change of several statements: committed by commit(), rolled back otherwise.
    class Transazione : public ::Transazione
    {
    public:
        explicit Transazione(FileLaterale &f) : ::Transazione(f.connessione_, f.percorso_) {}
    };

private:
    Connessione connessione_;
    QString percorso_;
};
