// Recipes from the web: "Importa da pagina web...", a saved page chosen in "Importa", and a
// link or a page dropped on the main window. Each is read into a temporary book for the import
// window, with a progress window whose "Annulla" stops it at once.
#include "shell/menu.h"

#include "formati/paginaweb.h"
#include "formati/scaricamento.h"
#include "storage/engineerror.h"
#include "toolkit/dialogs.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QProgressDialog>
#include <QTimer>

namespace {

const QString TitoloWeb = QStringLiteral("Importa da pagina web");

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

// The progress of one page, shown at once: the fetch has no length a cook could wait through
// unknowing.
class Menu::AvanzamentoWeb
{
public:
    explicit AvanzamentoWeb(QWidget *sopra)
        : finestra("Lettura della pagina in corso...", "Annulla", 0, 0, sopra)
    {
        finestra.setWindowTitle(TitoloWeb);
        finestra.setWindowModality(Qt::WindowModal);
        finestra.setMinimumDuration(0);
        finestra.setAutoReset(false);
        finestra.setMinimumWidth(finestra.fontMetrics().horizontalAdvance(TitoloWeb) * 3);
        finestra.setValue(0);
    }
    // false once the user has cancelled.
    bool passo(qint64 fatti, qint64 totale)
    {
        if (totale > 0) {
            finestra.setMaximum(int(qMin<qint64>(totale, PaginaWeb::MassimoByte)));
            finestra.setValue(int(qMin<qint64>(fatti, finestra.maximum())));
        }
        QCoreApplication::processEvents();
        return !finestra.wasCanceled();
    }
    QProgressDialog finestra;
};

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

void Menu::importaDaIndirizzo(QUrl indirizzo)
{
    QList<RicettaEstera> ricette;
    try {
        AvanzamentoWeb avanzamento(this);
        const QByteArray pagina =
            Scaricamento::scarica(indirizzo, [&avanzamento](qint64 fatti, qint64 totale) {
                return avanzamento.passo(fatti, totale);
            });
        ricette = PaginaWeb::leggi(pagina, indirizzo.toDisplayString(),
                                   [&avanzamento] { return avanzamento.passo(0, 0); });
    } catch (const EngineError &e) {
        erroreWeb(e);
        return;
    }
    importaRicetteEstere(ricette, indirizzo.toDisplayString(),
                         Applicazione::Provenienza::PaginaWeb);
}

void Menu::importaPaginaSalvata(const QString &percorso)
{
    QList<RicettaEstera> ricette;
    try {
        AvanzamentoWeb avanzamento(this);
        ricette =
            PaginaWeb::leggiFile(percorso, [&avanzamento] { return avanzamento.passo(0, 0); });
    } catch (const EngineError &e) {
        erroreWeb(e);
        return;
    }
    importaRicetteEstere(ricette, QFileInfo(percorso).fileName(),
                         Applicazione::Provenienza::PaginaWeb);
}

void Menu::erroreWeb(const EngineError &e)
{
    // A cancel is the user's own doing: nothing to say.
    if (e.number() != EngineError::ConversioneAnnullata)
        dialogs().messageBox(e.description(), Dialogs::SoloOK, "Errore di importazione",
                             Dialogs::Critica);
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
    // After the drop has ended: the source program is not kept waiting through the fetch.
    QTimer::singleShot(0, this, [this, u] {
        if (u.isLocalFile())
            importaPaginaSalvata(u.toLocalFile());
        else
            importaDaIndirizzo(u);
    });
}
