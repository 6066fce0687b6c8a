#pragma once

#include "formati/lettura.h"
#include "formati/ricettaestera.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

// Recipes published in web pages as schema.org data. A page is untrusted: the program only
// recognises one and decodes its bytes; the pentolone-web helper parses it (pentolone_web/
// analisi.h), in a process of its own with limits on memory and time, and hands the recipes back
// as CBOR.
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

// How the helper hands the recipes, and the problem met, to the program: CBOR (RFC 8949), a map
// of "ricette" and "problema", which Qt writes and reads far faster than JSON text.
QByteArray inCbor(const QList<RicettaEstera> &ricette, const QString &problema = {});
QList<RicettaEstera> daCbor(const QByteArray &dati, QString *problema = nullptr);

} // namespace PaginaWeb

// The recipes of one page, read by the helper program ("pentolone-web"; it may take 20 s) while
// the event loop runs. It ends with lette() or rifiutata(), once; every text names the page.
class LetturaPagina : public Lettura
{
    Q_OBJECT

public:
    explicit LetturaPagina(const Aiutante::Opzioni &opzioni = {}, QObject *genitore = nullptr);

    // A page fetched from indirizzo.
    void avvia(const QByteArray &pagina, const QString &indirizzo);
    // A saved page: the file must look like a page and be no larger than MassimoByte.
    void avviaFile(const QString &percorso);

signals:
    // Never empty: a page without recipes is refused.
    void lette(const QList<RicettaEstera> &ricette);

private:
    void terminato(Aiutante::Esito esito) override;

    QString indirizzo_;
};
