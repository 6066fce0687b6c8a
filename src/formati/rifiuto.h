#pragma once

#include <QString>

// Why a foreign file or page brought no recipes: the user cancelled the reading (nothing to say),
// or it was refused with an Italian text naming the real cause.
struct Rifiuto
{
    bool annullato = false;
    QString testo;

    // A time limit in words, for the texts: "un secondo", "20 secondi".
    static QString secondi(int millisecondi)
    {
        return millisecondi <= 1000 ? QStringLiteral("un secondo")
                                    : QStringLiteral("%1 secondi").arg((millisecondi + 999) / 1000);
    }
};
