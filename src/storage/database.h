#pragma once

#include <QString>
#include <QVariant>
#include <memory>

struct sqlite3;
class Statement;

// One open recipe book. Opening checks that the file is a recipe book and never creates one.
class Database
{
public:
    enum class Modo { LetturaScrittura, SolaLettura };

    // Throws EngineError: 3024 when the file is missing, 3343 or 3049 when it is no book.
    static std::shared_ptr<Database> apri(const QString &percorso,
                                          Modo modo = Modo::LetturaScrittura);
    // Creates an empty book in the format the windows expect (the template writer).
    static std::shared_ptr<Database> crea(const QString &percorso);

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &percorso() const { return percorso_; }
    bool aperto() const { return db_ != nullptr; }
    bool soloLettura() const;
    sqlite3 *handle() const; // throws when closed

    void Close();

    // Changes when another connection wrote to the book.
    quint64 versioneAltri() const;
    // Counts the rows this connection changed.
    quint64 modificheProprie() const;

    // Runs one statement of our own with bound values.
    void esegui(const QString &sql, const QVariantList &valori = {});
    QVariant valore(const QString &sql, const QVariantList &valori = {});
    qint64 ultimaChiave() const;

    // A write of several statements: committed by commit(), rolled back otherwise.
    class Transazione
    {
    public:
        explicit Transazione(Database &db);
        ~Transazione();
        void commit();

    private:
        Database &db_;
        bool chiusa_ = false;
    };

private:
    Database(sqlite3 *db, const QString &percorso);
    void configura(bool scrittura);
    void verificaRicettario();

    sqlite3 *db_;
    QString percorso_;
    mutable std::unique_ptr<Statement> versione_;
};
