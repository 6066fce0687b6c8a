#pragma once

#include <QString>

// Quantities as cooks and foreign formats write them, and as the book stores them: a decimal with
// ".", as the editor stores a typed one.
namespace Quantita {

// "2", "1/2", "1 1/2", "1-1/2", "1 e 1/2", "1 e mezzo", "½", "1¼", "1,5", ".5" → "2", "0.5",
// "1.5", ...; a range ("2-3", "2 to 2 1/4", "200/250", "2 o 3") as its two ends joined by "-"
// ("2-2.25"); empty when the text is no quantity (or a fraction over zero).
QString daTesto(const QString &testo);

// "10.000" and "1.500" with grams or millilitres are Italian thousands: the quantity then, as
// stored, is "10000"; otherwise quantita as it was read from scritto.
QString migliaia(const QString &scritto, const QString &quantita, const QString &unita);

// How long the quantity at the start of testo is (its characters, spaces between its parts
// included), 0 when testo does not start with one: the readers split a line there.
qsizetype lunghezzaIniziale(QStringView testo);
// Both at once: the length, and the quantity as stored in *valore (empty for "1/0").
qsizetype iniziale(QStringView testo, QString *valore);

// A stored quantity as a cook reads it: "0.5" → "1/2", "1.5" → "1 1/2", "0.33" → "1/3";
// a decimal that is no simple fraction, or a text that is no number, stays as it is.
QString inFrazione(const QString &quantita);

// A stored quantity in a foreign file's own notation: a fraction where reading it back gives
// the very number stored ("0.5" → "1/2", "2,25" → "2 1/4"), else the decimal with a dot
// ("0.13", never "1/8").
QString esatta(const QString &quantita);

} // namespace Quantita
