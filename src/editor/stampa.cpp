// The editor's printout (the current recipe as stored, its lines as the grid shows them) and
// the recipe handed to the shopping list.

#include "editor/ricette.h"
#include "editor/righeingredienti.h"
#include "ui_ricette.h"

#include "printing/impaginazione.h"
#include "printing/superficie.h"
#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "storage/schema.h"

void Ricette::cmdStampa_Click()
{
    if (!ricettaAggiornata())
        return;
    comandoDiStampa(
        [this](int copie) {
            for (int c = 0; c < copie; ++c)
                StampaRicetta();
        },
        testo(Schema::NomeRicetta), ui->chkAnteprima->isChecked());
}

void Ricette::StampaRicetta()
{
    // What the user typed is stored first; if it cannot be, nothing is printed.
    if (!ricetta_->UpdateRecord())
        throw EngineError(EngineError::ErroreGenerico);
    const Recordset *rs = ricetta_->Recordset();
    if (!rs)
        throw EngineError(EngineError::NessunRecordCorrente);
    RicettaDaStampare r;
    const int colonne = rs->fieldCount();
    for (int i = 0; i < colonne; ++i)
        r.campi.append(rs->value(i));
    r.categoria = ui->Lista->currentText();
    for (const RigheIngredienti::Riga &riga : righe_->mostrate())
        r.righe.append({riga.ingrediente, riga.quantita, riga.commento});
    ImpaginazioneRicetta(SuperficieStampa::instance(), StampaDaEditor).StampaRicetta(r);
}

// The lines are in the book already; the portions are those the box shows, converted or not.
void Ricette::cmdSpesa_Click()
{
    bool ok = false;
    const qint64 chiave = ui->Label2->text().trimmed().toLongLong(&ok);
    const int porzioni = testo(Schema::NumeroPorzioni).toInt();
    if (ok)
        emit aggiungiAllaSpesa(chiave, porzioni);
}
