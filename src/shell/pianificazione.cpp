// The shopping list and the week's menu. They never write the book, so unlike the working
// windows they leave the main window usable: the recipe list or the search window opens beside
// the week's menu, and recipes are dragged from one to the other.
#include "shell/menu.h"

#include "cerca/cerca.h"
#include "editor/ricette.h"
#include "elenco/elenco.h"
#include "spesa/listaspesa.h"
#include "spesa/menusettimana.h"
#include "spesa/spesa.h"
#include "storage/engineerror.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"

#include <QApplication>
#include <QScreen>

using namespace Applicazione;

namespace {

QList<std::pair<qint64, int>> conLeLoroPorzioni(const QList<qint64> &ricette)
{
    QList<std::pair<qint64, int>> r;
    for (const qint64 chiave : ricette)
        r.append({chiave, 0});
    return r;
}

// Over the window the cook is in, as the other windows open over the main window.
void mostraSopra(QWidget *finestra, QWidget *riserva)
{
    QWidget *sopra = QApplication::activeWindow() ? QApplication::activeWindow() : riserva;
    centra(finestra, sopra->frameGeometry(), sopra->screen()->availableGeometry(),
           sopra->frameGeometry().size() - sopra->size());
    finestra->show();
}

void portaAvanti(QWidget *finestra)
{
    finestra->raise();
    finestra->activateWindow();
}

} // namespace

void Menu::spesa_Click()
{
    conRicettario([this] { mostraSpesa(); });
}

void Menu::settimana_Click()
{
    conRicettario([this] { mostraSettimana(); });
}

ListaSpesa *Menu::listaSpesa()
{
    chiudiPianificazione();
    if (!listaSpesa_) {
        try {
            listaSpesa_ = std::make_shared<ListaSpesa>(RicettarioCorrente);
        } catch (const EngineError &e) {
            dialogs().messageBox(
                righe({"La lista della spesa non si può aprire:", e.description()}),
                Dialogs::SoloOK, "Lista della spesa", Dialogs::Critica);
            return nullptr;
        }
        if (const QString a = listaSpesa_->avviso(); !a.isEmpty())
            dialogs().messageBox(a, Dialogs::SoloOK, "Lista della spesa", Dialogs::Informazione);
    }
    return listaSpesa_.get();
}

void Menu::chiudiPianificazione()
{
    if (!listaSpesa_ || listaSpesa_->libro() == RicettarioCorrente)
        return;
    for (QWidget *w : {static_cast<QWidget *>(spesa_), static_cast<QWidget *>(settimana_)})
        if (w)
            w->close();
    listaSpesa_.reset();
}

void Menu::mostraSpesa()
{
    if (!listaSpesa())
        return;
    if (!spesa_) {
        spesa_ = new Spesa(listaSpesa_);
        spesa_->setAttribute(Qt::WA_DeleteOnClose);
        connect(spesa_, &Spesa::apriSettimana, this, &Menu::mostraSettimana);
        mostraSopra(spesa_, this);
    }
    portaAvanti(spesa_);
}

void Menu::mostraSettimana()
{
    if (!listaSpesa())
        return;
    if (!settimana_) {
        settimana_ = new MenuSettimana(listaSpesa_);
        settimana_->setAttribute(Qt::WA_DeleteOnClose);
        connect(settimana_, &MenuSettimana::mostraSpesa, this, &Menu::mostraSpesa);
        mostraSopra(settimana_, this);
    }
    portaAvanti(settimana_);
}

void Menu::allaSpesa(const QList<std::pair<qint64, int>> &ricette)
{
    ListaSpesa *lista = listaSpesa();
    if (!lista)
        return;
    mostraSpesa();
    try {
        lista->aggiungi(ricette);
    } catch (const EngineError &e) {
        dialogs().messageBox(righe({"La lista della spesa non è stata cambiata:", e.description()}),
                             Dialogs::SoloOK, "Lista della spesa", Dialogs::Critica);
    }
}

void Menu::collegaAllaSpesa(QWidget *finestra)
{
    if (auto *editor = qobject_cast<Ricette *>(finestra))
        connect(editor, &Ricette::aggiungiAllaSpesa, this, [this](qint64 ricetta, int porzioni) {
            allaSpesa({{ricetta, porzioni}});
        });
    else if (auto *elenco = qobject_cast<Elenco *>(finestra))
        connect(elenco, &Elenco::aggiungiAllaSpesa, this,
                [this](const QList<qint64> &r) { allaSpesa(conLeLoroPorzioni(r)); });
    else if (auto *cerca = qobject_cast<Cerca *>(finestra))
        connect(cerca, &Cerca::aggiungiAllaSpesa, this,
                [this](const QList<qint64> &r) { allaSpesa(conLeLoroPorzioni(r)); });
}
