#pragma once

#include "formati/ricettaestera.h"

#include <QByteArray>
#include <QList>
#include <QString>

// MealMaster files, the plain-text format cooks have shared recipe collections in for decades:
// recipes between a header line ("MMMMM----- Recipe via Meal-Master" or "----------...") and an
// end line ("MMMMM" or "-----"), ingredient lines in fixed columns, one or two side by side.
namespace MealMaster {

// Whether the file holds a recipe header near its start, whatever its name.
bool riconosci(const QString &percorso);

// Every recipe of the file. On failure none, and errore says why in Italian, naming the file:
// a file we cannot read, one too large, binary, with a line far too long, with no recipe, or
// with a recipe cut short. nome names the file in the messages.
QList<RicettaEstera> leggi(const QString &percorso, QString &errore);
QList<RicettaEstera> leggi(const QByteArray &contenuto, const QString &nome, QString &errore);

// The recipes as a MealMaster file: Latin-1 when every character fits, UTF-8 otherwise; CR LF.
QByteArray testo(const QList<RicettaEstera> &ricette);

// Writes the file whole or not at all (a temporary file beside it, renamed when complete).
// Empty on success, otherwise why, in Italian.
QString scrivi(const QString &percorso, const QList<RicettaEstera> &ricette);

} // namespace MealMaster
