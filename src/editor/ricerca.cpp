// Searching a recipe by name, creating one, deleting one; the recipe set kept in name order
// and the recipe list that shows it.
#include "editor/ricette.h"
#include "editor/righeingredienti.h"
#include "ui_ricette.h"

#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"

namespace {

// The recipe that stands in for the last one deleted: the book is never empty.
const QString Segnaposto = QStringLiteral("Nuova-Ricetta");

// The typed text between apostrophes, its own apostrophes doubled ("L'amatriciana").
QString traApostrofi(QString t)
{
    return QLatin1Char('\'') + t.replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

// Starts a new recipe row; false when it failed or Validate cancelled it.
bool nuovaRiga(DataSource *ds)
{
    bool nuova = false;
    ds->esegui([&](Recordset &rs) {
        rs.AddNew();
        nuova = rs.EditMode() == Recordset::NuovoInCorso;
    });
    return nuova;
}

} // namespace

void Ricette::cerca_Click()
{
    const QString cercata = ui->Text3->text();
    if (cercata.isEmpty())
        return;
    // Asked before the find rather than inside it: a new recipe deleted on a No would cancel
    // the find, which would leave no answer to the search.
    ChiediSalvataggio();
    // A name typed since the last move is not yet in the set's name order: a move to the same
    // recipe stores it and reads the set again.
    if (listaDaAggiornare_)
        ricetta_->esegui([](Recordset &rs) {
            if (rs.haRigaCorrente() && rs.EditMode() == Recordset::Nessuna)
                rs.setBookmark(rs.Bookmark());
        });
    const QString criterio = Schema::Criterio::DaNome + traApostrofi(cercata);
    bool trovata = false;
    const bool fatta = ricetta_->esegui([&](Recordset &rs) {
        const QVariant segnalibro = rs.haRigaCorrente() && rs.EditMode() != Recordset::NuovoInCorso
                                        ? rs.Bookmark()
                                        : QVariant();
        rs.FindFirst(criterio);
        trovata = !rs.NoMatch();
        if (!trovata && segnalibro.isValid())
            rs.setBookmark(segnalibro);
    });
    if (!fatta)
        return;
    if (trovata)
        ui->Text3->clear();
    else
        dialogs().messageBox("Ricetta non presente", Dialogs::SoloOK, "Attenzione",
                             Dialogs::Critica);
}

void Ricette::cmdInserisci_Click()
{
    // The question about a previous new recipe may have deleted it and cancelled this one.
    if (!nuovaRiga(ricetta_))
        return;
    listaDaAggiornare_ = true;
    ui->IngredienteScelto->clear();
    ui->Check1->setChecked(false);
    if (ui->Lista->currentIndex() >= 0)
        setTesto(Schema::IDCategoriaAlimentare,
                 QString::number(ui->Lista->currentData().toLongLong()));
    setTesto(Schema::NumeroPorzioni, "4");
    ricetta_->UpdateRecord();
    const Recordset *rs = ricetta_->Recordset();
    if (!rs || rs->EditMode() != Recordset::Nessuna)
        return; // not stored: the error was said, the boxes keep the new recipe
    ricetta_->esegui([](Recordset &r) { r.setBookmark(r.LastModified()); });
    txtFields[Schema::NomeRicetta]->setFocus();
    nuovaRicetta_ = true;
}

void Ricette::cmdCancella_Click()
{
    if (dialogs().messageBox("Sei sicuro di voler cancellare questa ricetta?", Dialogs::SiNo,
                             "Attenzione", Dialogs::NessunaIcona) != Dialogs::Si)
        return;
    // The moves of the deletion must not ask about the recipe they delete.
    nuovaRicetta_ = false;
    listaDaAggiornare_ = true;
    const Recordset *rs = ricetta_->Recordset();
    if (!rs)
        return;
    bool eliminata = false;
    if (rs->RecordCount() == 1) { // the last recipe
        if (!nuovaRiga(ricetta_))
            return;
        setTesto(Schema::NomeRicetta, Segnaposto);
        ricetta_->UpdateRecord();
        if (rs->EditMode() != Recordset::Nessuna) {
            ricetta_->CancelUpdate();
            return;
        }
        // The placeholder stands last in the set until it is opened again: the first is the
        // recipe being deleted.
        eliminata = ricetta_->esegui([](Recordset &r) {
            r.MoveFirst();
            r.Delete();
        });
    } else if (rs->haRigaCorrente()) {
        eliminata = ricetta_->esegui([](Recordset &r) { r.Delete(); });
    }
    if (!eliminata)
        return;
    // The moves before the deletion rebuilt the list with the deleted name still in it.
    listaDaAggiornare_ = true;
    ricetta_->MoveNext(); // the last recipe when there is no next one
    if (ui->ListaRicette->count() > 0) {
        if (ui->ListaRicette->currentRow() == 0)
            ListaRicette_Click();
        else
            ui->ListaRicette->setCurrentRow(0);
    }
    righe_->carica();
}

// The set keeps a new or renamed recipe where it stood: read again in name order, so the
// caption, the moves and the search agree with the recipe list. A recipe just made, still
// without a name, stays last until it has one: a move to the first must leave it.
bool Ricette::riordina()
{
    const Recordset *rs = ricetta_->Recordset();
    if (!rs || !rs->haRigaCorrente() || rs->EditMode() != Recordset::Nessuna ||
        testo(Schema::NomeRicetta).isEmpty())
        return false;
    const QVariant chiave = rs->Bookmark();
    // Read again, the set stands on its first row: the boxes must show that one if the recipe
    // cannot be found, or a later write would go into a recipe nobody was shown.
    if (!ricetta_->esegui([&](Recordset &r) {
            r.Requery();
            r.setBookmark(chiave);
        }))
        ricetta_->MoveFirst();
    return true;
}

void Ricette::evidenziaNellaLista()
{
    const qint64 chiave = ui->Label2->text().trimmed().toLongLong();
    int riga = -1;
    for (int i = 0; chiave && riga < 0 && i < ui->ListaRicette->count(); ++i)
        if (ui->ListaRicette->item(i)->data(Qt::UserRole).toLongLong() == chiave)
            riga = i;
    const QSignalBlocker silenzio(ui->ListaRicette); // showing the recipe is no jump to it
    ui->ListaRicette->setCurrentRow(riga);
}

void Ricette::CaricaListaRicette()
{
    listaRicette_->Refresh();
    listaRicette_->esegui([this](Recordset &rs) {
        if (rs.RecordCount() > 0)
            rs.MoveFirst();
        const QSignalBlocker silenzio(ui->ListaRicette);
        // The names alone, not every text of every recipe.
        const QVariantList nomi = rs.colonnaIntera(Schema::NomeRicetta);
        for (int p = 0; p < nomi.size(); ++p) {
            if (nomi.at(p).isNull())
                continue;
            // Given its key before it joins the list: a change to a listed entry costs a
            // search of the whole list.
            auto *voce = new QListWidgetItem(nomi.at(p).toString());
            voce->setData(Qt::UserRole, rs.bookmarkAlPosto(p));
            ui->ListaRicette->addItem(voce);
        }
    });
}

void Ricette::SvuotaListaRicette()
{
    const QSignalBlocker silenzio(ui->ListaRicette);
    ui->ListaRicette->clear();
    listaDaAggiornare_ = false;
}

void Ricette::ListaRicette_Click()
{
    const QListWidgetItem *voce = ui->ListaRicette->currentItem();
    if (!voce)
        return;
    const QString chiave = QString::number(voce->data(Qt::UserRole).toLongLong());
    if (chiave == ui->Label2->text().trimmed())
        return;
    bool trovata = true;
    ricetta_->esegui([&](Recordset &rs) {
        rs.FindFirst(Schema::Criterio::PerRicetta + chiave);
        trovata = !rs.NoMatch();
    });
    if (!trovata)
        dialogs().messageBox("La Ricetta selezionata non è più presente o è stata modificata",
                             Dialogs::SoloOK, "Attenzione", Dialogs::Critica);
}
