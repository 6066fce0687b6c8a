// What another program wrote to the book while the editor is open: a recipe it deleted under
// the cook's eyes, a recipe it changed before it is printed, and the lists it made out of date.
#include "editor/ricette.h"
#include "editor/righeingredienti.h"
#include "ui_ricette.h"

#include "storage/database.h"
#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"

namespace {

const QString Eliminata = QStringLiteral("La ricetta è stata eliminata da un altro programma.");

} // namespace

quint64 Ricette::cambiAltrui() const
{
    const std::shared_ptr<Database> db = ricetta_->Database();
    return db ? db->cambiDaAltri() : 0;
}

// Said when the cook leaves, prints or closes a recipe another program deleted. What was typed
// into it is offered as a new recipe; true when it was saved so, and the new recipe is shown.
bool Ricette::ricettaEliminataAltrove(int &Save)
{
    const Recordset *rs = ricetta_->Recordset();
    if (!rs || !rs->persaAltrove())
        return false;
    if (!Save) {
        dialogs().messageBox(Eliminata, Dialogs::SoloOK, "Attenzione", Dialogs::Esclamazione);
        return false;
    }
    Save = 0;
    if (dialogs().messageBox(righe({Eliminata, "Volete salvare quello che avete scritto come una "
                                               "nuova ricetta?"}),
                             Dialogs::SiNo, "Attenzione", Dialogs::Domanda) != Dialogs::Si)
        return false;
    return salvaComeNuova();
}

// The boxes and the lines shown, as a new recipe: the lines went with the deleted one.
bool Ricette::salvaComeNuova()
{
    const QList<RigheIngredienti::Riga> righeMostrate = righe_->mostrate();
    nuovaRicetta_ = false;
    listaDaAggiornare_ = true;
    if (!ricetta_->salvaComeNuovo().isValid())
        return false;
    QStringList senzaIngrediente;
    for (const RigheIngredienti::Riga &r : righeMostrate) {
        if (r.ingrediente.isEmpty())
            continue;
        const int i = nomiIngredienti_.indexOf(r.ingrediente);
        if (i < 0 ||
            righe_->scrivi(idIngredienti_.at(i).toLongLong(), r.quantita, r.commento).isEmpty())
            senzaIngrediente << r.ingrediente;
    }
    righe_->rileggi();
    if (!senzaIngrediente.isEmpty())
        dialogs().messageBox(
            righe({"La ricetta è stata salvata, ma senza le righe di questi ingredienti, che non "
                   "sono più nel ricettario:",
                   senzaIngrediente.join(", ")}),
            Dialogs::SoloOK, "Attenzione", Dialogs::Esclamazione);
    return true;
}

// Before a printout: the recipe as the book holds it now, the cook's changes kept.
bool Ricette::ricettaAggiornata()
{
    const quint64 prima = cambiAltrui();
    if (!ricetta_->seguiIlLibro()) {
        const Recordset *rs = ricetta_->Recordset();
        if (!rs || !rs->persaAltrove())
            return false;
        int cambiata = 1; // the boxes shown are what would be printed: offered as new
        return ricettaEliminataAltrove(cambiata);
    }
    if (cambiAltrui() != prima) {
        righe_->rileggi();
        seguiAltriProgrammi();
    }
    return true;
}

// The recipe list, the ingredient list and the categories, read again once another program
// wrote the book since they were filled.
void Ricette::seguiAltriProgrammi()
{
    if (!attivata_ || cambiAltrui() == altruiVisti_)
        return;
    altruiVisti_ = cambiAltrui();
    listaDaAggiornare_ = true;
    ui->ListaIngredienti->clear();
    nomiIngredienti_.clear();
    idIngredienti_.clear();
    if (ingredienti_->Refresh()) {
        ingredienti_->MoveFirst();
        CaricaListaIngredienti();
    }
    if (categorie_->Refresh())
        CaricaCategorie();
}

void Ricette::CaricaCategorie()
{
    const QSignalBlocker silenzio(ui->Lista);
    ui->Lista->clear();
    categorie_->esegui([this](Recordset &rs) {
        for (int p = 0; p < rs.RecordCount(); ++p)
            ui->Lista->addItem(rs.valoreAlPosto(p, Schema::CategoriaAlimentare).toString(),
                               rs.valoreAlPosto(p, Schema::IDCategoria));
    });
}
