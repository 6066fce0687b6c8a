#pragma once

#include <QHash>
#include <QString>

// The words of each department (tabellareparti.cpp), without accents and in lower case.
namespace Reparti {

struct Tabella
{
    QHash<QString, QString> parole;     // "pomodori" → "Frutta e verdura"
    QHash<QString, QString> coppie;     // two words read together: "noce moscata"
    QHash<QString, QString> prevalgono; // a word that decides whatever the others say
};
const Tabella &tabella();

} // namespace Reparti
