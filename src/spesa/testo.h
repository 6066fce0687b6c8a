#pragma once

#include "spesa/listaspesa.h"

#include <QStringList>

class SuperficieStampa;

// The list as it leaves the window: plain text (the clipboard, a file, the phone) and the
// printout. What the cook has at home (ticked "In casa") is left out of all of them.
namespace TestoSpesa {

// Departments as headings, one entry a line ("- Farina 00: 500 g + 2 cucchiai").
QString testo(const QList<Voce> &voci);

// The text in pieces of at most massimo bytes (UTF-8) cut between lines, each numbered
// ("Lista della spesa (2/3)") when there is more than one: one QR code each.
QStringList aPezzi(const QString &testo, int massimo);

// One page for a week of recipes: the recipes and their portions, then the departments as
// headings and a box to tick before each entry, in two columns when one is not enough; more
// pages only when two columns are not enough either.
void stampa(SuperficieStampa &s, const ListaSpesa::Stato &stato);

// The week as one page: a line for each day, lunch and dinner beside it.
void stampaSettimana(SuperficieStampa &s, const QList<Pasto> &settimana);

// "Lunedì" ... "Domenica"; "Pranzo", "Cena".
const QStringList &giorni();
const QStringList &pasti();

} // namespace TestoSpesa
