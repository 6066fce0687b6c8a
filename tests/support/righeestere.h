#pragma once

#include "formati/ricettaestera.h"

#include <QStringList>

// A foreign recipe's ingredient lines as "quantity|name|comment", as the format tests compare them.
inline QStringList righeEstere(const RicettaEstera &r)
{
    QStringList l;
    for (const RigaEstera &x : r.righe)
        l << x.quantita + '|' + x.ingrediente + '|' + x.commento;
    return l;
}
