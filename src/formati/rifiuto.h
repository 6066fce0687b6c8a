#pragma once

#include "storage/engineerror.h"

#include <QString>

// How the readers of foreign files refuse one: in Italian words naming the real cause.
namespace Rifiuto {

[[noreturn]] inline void rifiuta(const QString &testo)
{
    throw EngineError(EngineError::ConversioneNonRiuscita, testo);
}

// A time limit in words: "un secondo", "20 secondi".
inline QString secondi(int millisecondi)
{
    return millisecondi <= 1000 ? QStringLiteral("un secondo")
                                : QStringLiteral("%1 secondi").arg((millisecondi + 999) / 1000);
}

} // namespace Rifiuto
