#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The words of each department (tabellareparti.cpp), without accents and in lower case.
namespace Reparti {

struct Tabella
{
    QHash<QString, QString> parole;     // "pomodori" → "Frutta e verdura"
    QHash<QString, QString> coppie;     // two words read together: "noce moscata"
    QHash<QString, QString> prevalgono; // a word that decides whatever the others say
    QStringList doppie;                 // words listed twice: a slip in the table
};
const Tabella &tabella();

} // namespace Reparti
