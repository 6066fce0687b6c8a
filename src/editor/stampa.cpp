// The editor's printout: the current recipe as stored, its lines as the grid shows them.

#include "editor/ricette.h"
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
    if (!datPrimaryRS->UpdateRecord())
        throw EngineError(EngineError::ErroreGenerico);
    const Recordset *rs = datPrimaryRS->Recordset();
    if (!rs)
        throw EngineError(EngineError::NessunRecordCorrente);
    RicettaDaStampare r;
    const int colonne = rs->fieldCount();
    for (int i = 0; i < colonne; ++i)
        r.campi.append(rs->value(i));
    r.categoria = ui->Lista->currentText();
    const FlexGrid *g = ui->GridRicette;
    for (int riga = 1; riga < g->Rows(); ++riga)
        r.righe.append({g->TextMatrix(riga, ColIngrediente), g->TextMatrix(riga, ColQuantita),
                        g->TextMatrix(riga, ColCommento)});
    ImpaginazioneRicetta(SuperficieStampa::instance(), StampaDaEditor).StampaRicetta(r);
}
