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

// A page's bytes in UTF-8, decoded as browsers do: its byte order mark, else charset (the
// server's), else a <meta> in its first 1,024 bytes of markup, else UTF-8 when the bytes are
// valid UTF-8, else Windows-1252.
QByteArray inUtf8(const QByteArray &pagina, const QString &charset = {});
// The page with the server's charset made to win over what the page declares: in UTF-8 behind
// a byte order mark. Unchanged when charset is empty or unknown.
QByteArray conCodifica(const QByteArray &pagina, const QString &charset);
// A charset label as browsers read it ("latin1" is Windows-1252), and whether it is one we can
// decode.
QByteArray etichetta(const QString &charset);
bool codificaNota(const QString &charset);
// A JSON-LD block with what pages wrap it in or leave in it (comments, CDATA markers, trailing
// commas) taken out, so a strict JSON parser reads it.
QByteArray jsonTollerante(const QByteArray &blocco);

// Parses the page in this process (the helper's work): every schema.org Recipe in it (JSON-LD
// first, else microdata or RDFa) as JSON objects whose properties microdata gave in JSON-LD's
// shape. A recipe without a name takes the page's title. problema tells why a block that held
// a recipe could not be read.
QList<QJsonObject> oggettiRicetta(const QByteArray &pagina, QString *problema = nullptr);
// A text of the page as a cook reads it: entities decoded, tags stripped, one line for each
// paragraph, list item or line break, blank lines dropped.
QString testo(const QString &html);

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

// How the helper hands the recipes, and the problem met, to the program.
QByteArray inJson(const QList<RicettaEstera> &ricette, const QString &problema = {});
QList<RicettaEstera> daJson(const QByteArray &json, QString *problema = nullptr);

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
