#pragma once

#include "formati/ricettaestera.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <functional>

// Recipes published in web pages as schema.org data: JSON-LD blocks first, microdata when a page
// has none. A page is untrusted: the program reads it through the pentolone-web helper, which
// runs the parser in a process of its own with limits on memory and time.
namespace PaginaWeb {

// Pages larger than this are refused, downloaded or saved.
constexpr qint64 MassimoByte = 10 * 1024 * 1024;

// A saved page, known by its first bytes (a doctype or an html, head or body tag), not its name.
bool riconosci(const QByteArray &inizio);
bool riconosciFile(const QString &percorso);

// Parses the page in this process (the helper's work): every schema.org Recipe in it, as JSON
// objects whose properties microdata gave in JSON-LD's shape.
QList<QJsonObject> oggettiRicetta(const QByteArray &pagina);
// A text of the page as a cook reads it: entities decoded, tags stripped, one line for each
// paragraph, list item or line break, blank lines dropped.
QString testo(const QString &html);

// A recipe object in the book's terms; indirizzo is named in its notes as its source.
RicettaEstera ricetta(const QJsonObject &oggetto, const QString &indirizzo);
// Both steps: every recipe of the page.
QList<RicettaEstera> ricette(const QByteArray &pagina, const QString &indirizzo);

// How the helper hands the recipes to the program.
QByteArray inJson(const QList<RicettaEstera> &ricette);
QList<RicettaEstera> daJson(const QByteArray &json);

// The page's recipes, read by the helper program. continua() is asked now and then; false
// cancels. Throws EngineError (ConversioneAnnullata for a cancel) with an Italian text naming
// indirizzo; a page without recipes is an error too.
QList<RicettaEstera> leggi(const QByteArray &pagina, const QString &indirizzo,
                           const std::function<bool()> &continua = {});
// A saved page, through the same helper; the file must look like a page and be no larger than
// MassimoByte.
QList<RicettaEstera> leggiFile(const QString &percorso, const std::function<bool()> &continua = {});

// A time limit in words: "un secondo", "20 secondi".
QString secondi(int millisecondi);

// The helper (by default "pentolone-web" beside the running program) and how long it may take.
void setProgramma(const QString &percorso);
void setLimiteTempo(int millisecondi);

} // namespace PaginaWeb
