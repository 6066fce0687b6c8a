#pragma once

#include <QList>
#include <QString>
#include <QVariant>

struct sqlite3;

// A small SQLite file of the program's own kept beside a book (the shopping list), never a book:
// opened with a book's connection rules (a file from anywhere; a commit survives a crash or a
// power cut). One thread uses it; it is closed with this object.
class FileLaterale
{
public:
    // Opens the file, creating it when missing. Throws EngineError naming the cause.
    explicit FileLaterale(const QString &percorso);
    ~FileLaterale();
    FileLaterale(const FileLaterale &) = delete;
    FileLaterale &operator=(const FileLaterale &) = delete;

    const QString &percorso() const { return percorso_; }

    // Each throws EngineError naming the cause (damaged, disk full, read-only...).
    void esegui(const QString &sql, const QVariantList &valori = {});
    QVariant valore(const QString &sql, const QVariantList &valori = {});
    QList<QVariantList> righe(const QString &sql, const QVariantList &valori = {});

    // A change of several statements: committed by commit(), rolled back otherwise.
    class Transazione
    {
    public:
        explicit Transazione(FileLaterale &f);
        ~Transazione();
        void commit();

    private:
        FileLaterale &f_;
        bool chiusa_ = false;
    };

private:
    sqlite3 *db_ = nullptr;
    QString percorso_;
};
