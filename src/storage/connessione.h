#pragma once

#include <QString>

struct sqlite3;

// How the program opens any SQLite file it did not write in this run (a book, a side file):
// one thread a connection, the file taken as coming from anywhere.

// Throws the EngineError that names the cause.
sqlite3 *apriConnessione(const QString &percorso, int flag);
// Before anything is read: defensive mode, no trusted schema, no views, modest limits, and a
// wait of 3 s for a lock another program holds.
void proteggiConnessione(sqlite3 *db);
