#pragma once
// What the benchmarks share to write generated books: Italian sentences, a random choice, and
// a stop on a failing SQLite call.
#include "database.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace {

const QStringList frasi = {
    "Mettete l'acqua sul fuoco e portatela a bollore prima di salarla.",
    "Tagliate le verdure a dadini regolari, così cuoceranno tutte nello stesso tempo.",
    "Fate soffriggere la cipolla in poco olio finché diventa trasparente.",
    "Unite il brodo caldo un mestolo alla volta, mescolando con pazienza.",
    "Aggiustate di sale e pepe, poi lasciate riposare qualche minuto.",
    "Infornate a 180 gradi per circa mezz'ora, finché la superficie è dorata.",
    "Servite subito, con una spolverata di formaggio grattugiato e un filo d'olio.",
    "Se l'impasto è troppo morbido aggiungete un cucchiaio di farina.",
    "Montate gli albumi a neve ben ferma e incorporateli con delicatezza.",
    "Scolate la pasta al dente e saltatela in padella con il condimento."};

inline QString scegli(QRandomGenerator &caso, const QStringList &l)
{
    return l.at(int(caso.bounded(l.size())));
}

inline QString testo(QRandomGenerator &caso, int lunghezza)
{
    QString t;
    while (t.size() < lunghezza)
        t += scegli(caso, frasi) + ' ';
    return t.left(lunghezza).trimmed();
}

inline void controlla(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

// A new empty book, opened through the bare C API inside a transaction the caller commits:
// our layer would commit row by row.
inline sqlite3 *nuovoLibroGrezzo(const QString &percorso)
{
    Database::crea(percorso);
    sqlite3 *db = nullptr;
    controlla(sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db, SQLITE_OPEN_READWRITE,
                              nullptr),
              db);
    controlla(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    return db;
}

} // namespace
