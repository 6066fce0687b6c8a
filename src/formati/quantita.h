#pragma once

#include <QString>

// Quantities as cooks and foreign formats write them, and as the book stores them: a decimal with
// ".", as the editor stores a typed one.
namespace Quantita {

// "2", "1/2", "1 1/2", "1 e 1/2", "½", "1¼", "1,5", "1.5" → "2", "0.5", "1.5", ...; a range
// ("2-3") keeps its text; empty when the text is no quantity.
QString daTesto(const QString &testo);

// How long the quantity at the start of testo is (its characters, spaces between its parts
// included), 0 when testo does not start with one: the readers split a line there.
qsizetype lunghezzaIniziale(const QString &testo);

// A stored quantity as a cook reads it: "0.5" → "1/2", "1.5" → "1 1/2", "0.33" → "1/3";
// a decimal that is no simple fraction, or a text that is no number, stays as it is.
QString inFrazione(const QString &quantita);

} // namespace Quantita
