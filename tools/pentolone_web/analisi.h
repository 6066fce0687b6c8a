#pragma once

#include "formati/ricettaestera.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

// The parser of the pentolone-web helper, linked by it alone (and by the tests and benchmarks that
// try it in their own process): libxml2 reads untrusted pages only there. Recipes come as
// schema.org data: JSON-LD blocks first, microdata when a page has none.
namespace PaginaWeb {

// Every schema.org Recipe in the page (JSON-LD first, else microdata or RDFa) as JSON objects
// whose properties microdata gave in JSON-LD's shape. A recipe without a name takes the page's
// title. problema tells why a block that held a recipe could not be read.
QList<QJsonObject> oggettiRicetta(const QByteArray &pagina, QString *problema = nullptr);
// A text of the page as a cook reads it: entities decoded, tags stripped, one line for each
// paragraph, list item or line break, blank lines dropped.
QString testo(QString html);

// A JSON-LD block with what pages wrap it in or leave in it (comments, CDATA markers, trailing
// commas) taken out, so a strict JSON parser reads it.
QByteArray jsonTollerante(const QByteArray &blocco);

// A property of a JSON-LD object by its name without regard to capitals ("RecipeInstructions"),
// undefined when missing or empty; the first text of a value given once or as a list.
QJsonValue proprieta(const QJsonObject &oggetto, const char *nome);
QString primo(const QJsonValue &valore);

// A recipe object in the book's terms; indirizzo is named in its notes as its source.
RicettaEstera ricetta(const QJsonObject &oggetto, const QString &indirizzo);
// Both steps: every recipe of the page, once each; an object with neither ingredients nor
// instructions (a rating's stub) is none.
QList<RicettaEstera> ricette(const QByteArray &pagina, const QString &indirizzo,
                             QString *problema = nullptr);

} // namespace PaginaWeb
