#pragma once

#include "formati/ricettaestera.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// The columns of a MealMaster file, shared by its reader and its writer.
namespace MealMaster {

constexpr qsizetype ColonnaQuantita = 7; // right-aligned
constexpr qsizetype ColonnaTesto = 11;   // after the quantity, a blank, the unit code, a blank
constexpr qsizetype LarghezzaTesto = 28; // an ingredient's text, continued on lines with "-"
constexpr qsizetype SecondaColonna = 40; // where the right one of two ingredients starts
constexpr qsizetype Larghezza = 79;      // instructions, for an 80-column screen
constexpr qsizetype RigaPiena = 60;      // a line of instructions this long was wrapped

// One ingredient of a line: quantity as the book stores it, unit code, text.
struct Pezzo
{
    QString quantita; // empty when none, or when written in no way the format knows
    QString scritta;  // the quantity as written
    QString codice;
    QString testo;
    bool continua = false; // a continuation ("-..."): its text goes on the line above
};

// The ingredient in fixed columns, none when the text is no ingredient line.
std::optional<Pezzo> pezzo(QStringView parte);

// "MMMMM----- Recipe via Meal-Master ..." or "---------- ...", one letter damaged or not.
bool eIntestazione(QStringView riga);
bool eFine(QStringView riga);      // "MMMMM" or "-----" alone
QString sezione(QStringView riga); // "MMMMM-----PASTA FROLLA-----" → "PASTA FROLLA"

// A unit code as a word, in Italian as the cook reads it, and the code back from the word;
// plural for quantities over one.
QString parolaUnita(const QString &codice, bool plurale);
QString codiceUnita(const QString &parola, bool plurale);
bool plurale(const QString &quantita);
// "Vegetarian", "Vegetariane": a category that says what the recipe is.
bool eVegetariana(const QString &categoria);

// The whole recipes of a decoded file; errore names those left out and why (empty when none).
QList<RicettaEstera> leggiTesto(QStringView testo, const QString &nome, QString &errore);

} // namespace MealMaster
