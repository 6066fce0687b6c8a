#pragma once

#include "storage/database.h"
#include "storage/impronta.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <future>
#include <memory>
#include <optional>
#include <thread>

// The check of a book ahead of its opening, on a thread of its own (anticipo.cpp).
struct Controllo
{
    std::thread filo;
    std::shared_future<void> fatto;
    Database::Interruttore interruttore;
};

// What the program knows of one book file while it runs, by its canonical path.
struct Libro
{
    std::weak_ptr<Database> aperto[2]; // what apri() hands out, by Database::Modo
    std::weak_ptr<Versioni> versioni;  // shared by the connections apri() opened on it
    QList<Database::Osservatore *> osservatori;
    quint64 scritture = 0;               // our commits to it since the program started
    std::optional<Impronta> intero;      // the file as it was when last found whole
    std::shared_ptr<Controllo> anticipo; // its latest check ahead, until joined
};

// The program's registry of books: one entry a file, made at its first mention and kept while
// the program runs. Every thread that opens a book uses it (the windows', a check ahead's, the
// content search's), so the list and every field of every entry are read and written under one
// lock, guardiaLibri_, held briefly: never while a statement runs or a thread is waited for.
// Never destroyed, as a watcher kept in a static may leave after the program's end; the checks
// ahead it owns are interrupted and joined at the application's end (fine()), before any static
// goes, and the books found whole are then written down (verificati.cpp).
class Libri
{
public:
    static Libri &registro();

    // fai(Libro &) under the lock.
    template <class Fai> decltype(auto) con(const QString &canonico, Fai &&fai)
    {
        const QMutexLocker bloccato(&guardiaLibri_);
        return fai(libro(canonico));
    }
    template <class Fai> decltype(auto) con(Libro &libro, Fai &&fai)
    {
        const QMutexLocker bloccato(&guardiaLibri_);
        return fai(libro);
    }
    // fai(QHash<QString, std::shared_ptr<Libro>> &) under the lock.
    template <class Fai> decltype(auto) conTutti(Fai &&fai)
    {
        const QMutexLocker bloccato(&guardiaLibri_);
        return fai(libri_);
    }
    // An entry's address stays while the program runs.
    Libro &libro(const QString &canonico); // under the lock

    // Registers fine() with the application, when there is one; false without.
    bool allaFine();

    // The books found whole in earlier runs, into their entries, in place of what they hold
    // (verificati.cpp).
    void leggiVerificati();

private:
    Libri() = default;
    static void fine();

    QMutex guardiaLibri_;
    QHash<QString, std::shared_ptr<Libro>> libri_;
    bool allaFine_ = false;
};
