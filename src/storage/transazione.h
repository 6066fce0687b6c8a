#pragma once

#include <QString>

class Connessione;

// A transaction as a scope, for any connection of ours: what it holds is whole or not there.
// - Scrittura takes the write lock at once (BEGIN IMMEDIATE), so its statements never meet a
//   lock half way; it is committed by commit() and rolled back when the scope ends without it
//   (an exception, an early return).
// - Lettura lets the reads inside it share one read lock and one state of the file; another
//   program waits to commit until it ends. Inside a transaction already, it adds nothing.
// A connection closed meanwhile (a restore closes every connection on a book) ends it too.
class Transazione
{
public:
    enum class Tipo { Scrittura, Lettura };

    // Throws EngineError when the lock cannot be had.
    Transazione(Connessione &connessione, const QString &percorso, Tipo tipo = Tipo::Scrittura);
    ~Transazione();
    Transazione(const Transazione &) = delete;
    Transazione &operator=(const Transazione &) = delete;

    // Throws EngineError (the disk full, the file in use): the scope's end then rolls back.
    void commit();
    // Rolls back now; true when there was something to roll back.
    bool annulla();

private:
    Connessione &connessione_;
    QString percorso_;
    bool aperta_ = false;
    Tipo tipo_;
};
