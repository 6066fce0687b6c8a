// Recipes from the web: "Importa da pagina web...", a saved page chosen in "Importa", and a
// link or a page dropped on the main window. Each is fetched and read while the program answers,
// with a progress window whose "Annulla" stops it at once, then goes through the import window.
#include "shell/menu.h"

#include "formati/paginaweb.h"
#include "formati/scaricamento.h"
#include "shell/lavoro.h"
#include "toolkit/dialogs.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString TitoloWeb = QStringLiteral("Importa da pagina web");
const QString LetturaInCorso = QStringLiteral("Lettura della pagina in corso...");

bool indirizzoWeb(const QUrl &u)
{
    return (u.scheme() == QLatin1String("http") || u.scheme() == QLatin1String("https")) &&
           !u.host().isEmpty();
}

// What was dropped: an address of a page, or a saved page; empty for anything else.
QUrl trascinato(const QMimeData *dati)
{
    QUrl u = dati->hasUrls() ? dati->urls().value(0) : QUrl(dati->text().trimmed());
    if (indirizzoWeb(u) || (u.isLocalFile() && PaginaWeb::riconosciFile(u.toLocalFile())))
        return u;
    return {};
}

} // namespace

void Menu::importaWeb_Click()
{
    const QString appunti = QGuiApplication::clipboard()->text().trimmed();
    const bool proponi = indirizzoWeb(QUrl(appunti)) && !appunti.contains(u' ');
    const QString indirizzo =
        dialogs()
            .inputBox("Indirizzo della pagina web con la ricetta da importare:", TitoloWeb,
                      proponi ? appunti : QString(), true)
            .trimmed();
    if (indirizzo.isEmpty())
        return;
    // A page saved on this computer, by its full path or a file:// address, is taken as "Importa"
    // takes a chosen file; anything else, scheme or not, is an address on the web.
    const QUrl u = QUrl::fromUserInput(indirizzo);
    if (u.isLocalFile())
        importaFile(u.toLocalFile());
    else
        importaDaIndirizzo(u);
}

void Menu::importaDaIndirizzo(const QUrl &indirizzo)
{
    auto *lavoro = new Lavoro(this);
    Avanzamento &avanzamento = lavoro->mostraAvanzamento(LetturaInCorso, TitoloWeb);
    auto *scaricamento = new Scaricamento(Scaricamento::Predefinite, lavoro);
    connect(lavoro, &Lavoro::annullato, scaricamento, &Scaricamento::annulla);
    connect(scaricamento, &Scaricamento::avanzamento, &avanzamento, &Avanzamento::segna);
    connect(scaricamento, &Scaricamento::fallita, lavoro,
            [this, lavoro](const ErroreRete &e) { lavoro->termina([this, e] { erroreWeb(e); }); });
    // The page is named by the address finally read, after its redirects.
    connect(scaricamento, &Scaricamento::arrivata, lavoro,
            [this, lavoro, scaricamento](const QByteArray &pagina) {
                const QString dove = scaricamento->indirizzo().toDisplayString();
                leggiPagina(lavoro, dove)->avvia(pagina, dove);
            });
    scaricamento->avvia(indirizzo);
}

void Menu::importaPaginaSalvata(const QString &percorso)
{
    auto *lavoro = new Lavoro(this);
    lavoro->mostraAvanzamento(LetturaInCorso, TitoloWeb);
    leggiPagina(lavoro, QFileInfo(percorso).fileName())->avviaFile(percorso);
}

LetturaPagina *Menu::leggiPagina(Lavoro *lavoro, const QString &nome)
{
    auto *lettura = new LetturaPagina({}, lavoro);
    connect(lavoro, &Lavoro::annullato, lettura, &LetturaPagina::annulla);
    connect(lettura, &LetturaPagina::rifiutata, lavoro,
            [this, lavoro](const Rifiuto &r) { lavoro->termina([this, r] { erroreWeb(r); }); });
    connect(lettura, &LetturaPagina::lette, lavoro,
            [this, lavoro, nome](const QList<RicettaEstera> &ricette) {
                lavoro->termina([this, ricette, nome] {
                    importaRicetteEstere(ricette, nome, Applicazione::Provenienza::PaginaWeb);
                });
            });
    return lettura;
}

void Menu::erroreWeb(const Rifiuto &r)
{
    // A cancel is the user's own doing: nothing to say.
    if (!r.annullato)
        dialogs().messageBox(r.testo, Dialogs::SoloOK, "Errore di importazione", Dialogs::Critica);
}

void Menu::dragEnterEvent(QDragEnterEvent *e)
{
    if (!trascinato(e->mimeData()).isEmpty())
        e->acceptProposedAction();
}

void Menu::dropEvent(QDropEvent *e)
{
    const QUrl u = trascinato(e->mimeData());
    if (u.isEmpty())
        return;
    e->acceptProposedAction();
    // The source program is not kept waiting: the page comes while the program answers.
    if (u.isLocalFile())
        importaPaginaSalvata(u.toLocalFile());
    else
        importaDaIndirizzo(u);
}
