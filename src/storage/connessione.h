#pragma once

#include <QString>
#include <atomic>
#include <utility>

struct sqlite3;

// The one home of the program's SQLite connections: a book, a side file of ours, the content
// search's index, in a file or in memory. One thread uses a connection at a time (SQLite's own
// lock per call is off); it is closed with this object, or by chiudi(), once the statements
// others still hold are finished.
class Connessione
{
public:
    // What a connection opened on InMemoria holds goes with it.
    static inline const QString InMemoria = QStringLiteral(":memory:");

    enum class Modo {
        SolaLettura,
        LetturaScrittura,
        Creazione, // a missing file is made
    };

    Connessione() = default;
    // Throws the EngineError that names the cause.
    Connessione(const QString &percorso, Modo modo);
    ~Connessione() { chiudi(); }
    Connessione(Connessione &&altra) noexcept : db_(std::exchange(altra.db_, nullptr)) {}
    Connessione &operator=(Connessione &&altra) noexcept
    {
        std::swap(db_, altra.db_);
        return *this;
    }

    sqlite3 *get() const { return db_; }
    explicit operator bool() const { return db_ != nullptr; }
    void chiudi();

    // For a file from anywhere, before anything is read: defensive mode, no trusted schema, no
    // views, modest limits, and a wait of 3 s for a lock another program holds.
    void proteggi();
    // While fermo is given, what the connection runs stops soon after fermo becomes true: the
    // statement throws EngineError. Null lets it run to its end.
    void fermaQuando(const std::atomic<bool> *fermo);

private:
    sqlite3 *db_ = nullptr;
};
