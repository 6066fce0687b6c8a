#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <utility>

class QAbstractItemView;
class QMimeData;

// Recipes dragged from a window's list to where they are planned (the week's menu): their keys
// and names in a type of our own, and the names as plain text for any other program.
namespace TrascinaRicette {

using Ricette = QList<std::pair<qint64, QString>>; // key, name

inline const QString Tipo = QStringLiteral("application/x-pentolone-ricette");

QMimeData *dati(const Ricette &ricette);
// Empty when the data hold no recipes of ours.
Ricette leggi(const QMimeData *m);

// Lets the selected rows of vista be dragged out of it: the mouse pressed on a row selects as
// the view always did, and carried out of the list drags the rows selected then.
// selezionate gives the recipes.
void abilita(QAbstractItemView *vista, std::function<Ricette()> selezionate);

} // namespace TrascinaRicette
