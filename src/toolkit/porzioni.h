#pragma once

#include <QString>

// The portion conversion the editor and the shopping list share: a stored quantity read, turned
// into another number of portions with the rounding cooks use, written in the user's format.
namespace Porzioni {

// Quantities are typed with "." but a conversion stores them with the user's separator: both
// read. False for a text that is no number (an imported "q.b.").
bool leggiQuantita(const QString &testo, double &q);

// A quantity q converted by the factor r and rounded to an amount a cook can measure.
double convertiQuantita(double q, double r);

// In the user's format, without trailing zeros and without a group separator, which would
// read back as a decimal one.
QString testoQuantita(double x);

} // namespace Porzioni
