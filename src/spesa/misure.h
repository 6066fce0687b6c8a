#pragma once

#include <QString>

// The measure a line's comment starts with, as the readers and cooks write it ("g", "kg",
// "cucchiai", "spicchi"), and how quantities in it are added up and written.
namespace Misure {

struct Misura
{
    QString unita;      // as written on the list: "g", "kg", "cucchiaio", "cups"; empty: a count
    QString famiglia;   // the unit quantities are added up in: "g", "ml", or unita itself
    double fattore = 1; // how many of famiglia one unita is
};

// The measure at the start of the comment; a count (empty unita) when it names none.
Misura daCommento(const QString &commento);

// x of famiglia written in the unit that reads best: the only one the lines used (unitaSola,
// when they used one), else "kg" or "l" from 1000 on when that is exact to two decimals.
QString scrivi(double x, const QString &famiglia, const QString &unitaSola);

} // namespace Misure
