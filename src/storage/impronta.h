#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What a book is on disk now: any write to it, ours or another program's, and any file put in its
// place (a copy, a restore by hand) changes it. The clock of file times ticks coarsely, so
// SQLite's own count of the file's commits (at 24 in its header) and the log a program in WAL
// mode writes beside it count too.
struct Impronta
{
    quint64 dispositivo = 0, nodo = 0;
    qint64 dimensione = -1, modifica = 0, cambio = 0; // times in nanoseconds
    QByteArray contatore;
    qint64 log = -1, modificaLog = 0;
    bool operator==(const Impronta &) const = default;

    // The file as it is now; not valida() when it cannot be read.
    static Impronta di(const QString &percorso);
    bool valida() const { return dimensione >= 0; }
    // SQLite's count of the file's commits; none while a WAL log beside it may hold commits.
    std::optional<quint32> commit() const;
    // As one line of text and back, for a copy kept outside the book.
    QString testo() const;
    static Impronta daTesto(const QString &testo);
};
