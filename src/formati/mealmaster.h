#pragma once

#include "formati/ricettaestera.h"

#include <QByteArray>
#include <QList>
#include <QString>

// MealMaster files, the plain-text format cooks have shared recipe collections in for decades:
// recipes between a header line ("MMMMM----- Recipe via Meal-Master" or "----------...") and an
// end line ("MMMMM" or "-----"), ingredient lines in fixed columns, one or two side by side.
namespace MealMaster {

// Whether the file holds a recipe header near its start, or is named as MealMaster files are
// (.mmf, .mm).
bool riconosci(const QString &percorso);

// Every complete recipe of the file. errore says in Italian, naming the file, why none can be
// read (a file we cannot read, one too large, binary, with a line far too long, with no
// recipe), or, beside the recipes read, which recipes were left out and at which line (one cut
// short, one whose opening line is damaged). Lines may end in LF, CR LF or CR alone. nome names
// the file in the messages.
QList<RicettaEstera> leggi(const QString &percorso, QString &errore);
QList<RicettaEstera> leggi(const QByteArray &contenuto, const QString &nome, QString &errore);

// The recipes as a MealMaster file: Latin-1 when every character fits, UTF-8 otherwise; CR LF.
QByteArray testo(const QList<RicettaEstera> &ricette);

// Writes the file whole or not at all (a temporary file beside it, renamed when complete).
// Empty on success, otherwise why, in Italian.
QString scrivi(const QString &percorso, const QList<RicettaEstera> &ricette);

} // namespace MealMaster
