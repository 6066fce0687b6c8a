#pragma once

#include <QString>
#include <QStringList>

// The shop's departments, in the order a cook walks them, and the first guess of where an
// ingredient is bought, from its name (a table of common Italian ingredient names of our own).
namespace Reparti {

// "Frutta e verdura", ..., "Altro": headings of the list and its printout, in this order.
const QStringList &tutti();
inline const QString Altro = QStringLiteral("Altro");

// The department of an ingredient by its name ("Pomodori pelati" → "Dispensa"); "Altro" when
// the table knows no word of it.
QString indovina(const QString &ingrediente);

// The position of a department in tutti(); an unknown one goes with "Altro".
int ordine(const QString &reparto);

} // namespace Reparti
