// The ingredient lines of the current recipe: the grid, quantities, adding, picking and
// deleting lines.
#include "editor/ricette.h"
#include "ui_ricette.h"

#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"

namespace {

void svuotaRiga(FlexGrid *g, int riga)
{
    for (int c = 0; c < g->columnCount(); ++c)
        g->setTextMatrix(riga, c, QString());
}

} // namespace

void Ricette::svuotaGriglia()
{
    ui->GridRicette->setRows(2);
}

void Ricette::CaricaGriglia()
{
    FlexGrid *g = ui->GridRicette;
    idRicettaCorrente_ = ui->Label2->text().trimmed();
    // Into the rows the grid has, cell by cell (a tab in a comment must not split it): a cell
    // that shows the same text is not drawn again.
    int r = 0;
    Data3->esegui([&](Recordset &rs) {
        for (int p = 0; p < rs.RecordCount(); ++p) {
            const QString ricetta = rs.valoreAlPosto(p, Schema::RigaRicetta).toString();
            if (ricetta.isEmpty() || ricetta != idRicettaCorrente_)
                continue;
            if (++r == g->Rows())
                g->AddItem();
            g->setTextMatrix(r, ColChiave,
                             rs.valoreAlPosto(p, Schema::IDIngredienteRicetta).toString());
            g->setTextMatrix(
                r, ColIngrediente,
                nomeIngrediente(rs.valoreAlPosto(p, Schema::RigaIngrediente).toString()));
            g->setTextMatrix(r, ColQuantita, rs.valoreAlPosto(p, Schema::Quantita).toString());
            g->setTextMatrix(r, ColCommento, rs.valoreAlPosto(p, Schema::Commenti).toString());
        }
    });
    g->setRows(qMax(2, r + 1)); // one row, empty, when the recipe has no line
    if (r == 0)
        svuotaRiga(g, 1);
    g->setRow(r == 0 ? 0 : 1);
}

void Ricette::ScriviRigaIngrediente()
{
    FlexGrid *g = ui->GridRicette;
    idRicettaCorrente_ = ui->Label2->text().trimmed();
    if (idRicettaCorrente_.isEmpty()) {
        dialogs().beep(); // an empty book: no recipe to give the line to
        return;
    }
    g->setTextMatrix(g->Row(), ColChiave,
                     scriviRiga(idIngredienteScelto_, ui->Qta->text(), ui->Commento->text()));
}

QString Ricette::scriviRiga(qint64 ingrediente, const QString &quantita, const QString &commento)
{
    QString chiave;
    const bool riuscito = Data3->esegui([&](Recordset &rs) {
        rs.AddNew();
        rs.Fields(Schema::RigaRicetta) = idRicettaCorrente_.toLongLong();
        rs.Fields(Schema::RigaIngrediente) = ingrediente;
        rs.Fields(Schema::Quantita) = quantita;
        rs.Fields(Schema::Commenti) = commento;
        rs.Update();
        rs.setBookmark(rs.LastModified());
        chiave = rs.Fields(Schema::IDIngredienteRicetta).Value().toString();
    });
    if (!riuscito) {
        // A row left half-added would be stored by the set's next move.
        Data3->CancelUpdate();
        return {};
    }
    return chiave;
}

void Ricette::CancellaRigaIngrediente()
{
    FlexGrid *g = ui->GridRicette;
    g->setCol(ColChiave);
    const QString chiave = g->Text();
    if (chiave.isEmpty())
        return;
    const bool riuscito = Data3->esegui([&](Recordset &rs) {
        rs.FindFirst(Schema::Criterio::PerRiga + chiave);
        if (!rs.NoMatch())
            rs.Delete();
    });
    // A line not found is not in the book either.
    if (riuscito)
        g->setText(QString());
}

void Ricette::Qta_GotFocus()
{
    puntoInserito_ = false;
}

void Ricette::Qta_LostFocus()
{
    puntoInserito_ = false;
}

void Ricette::Qta_KeyPress(int &KeyAscii)
{
    if (KeyAscii == 8) {
        if (ui->Qta->text().endsWith('.'))
            puntoInserito_ = false;
    } else if (KeyAscii == '.' && !puntoInserito_) {
        puntoInserito_ = true;
    } else if (KeyAscii < '0' || KeyAscii > '9') {
        KeyAscii = 0;
        dialogs().beep();
    }
}

void Ricette::Command1_Click()
{
    if (ui->Commento->text().isEmpty())
        ui->Commento->setText(QStringLiteral(" "));
    if (ui->IngredienteScelto->text().trimmed().isEmpty()) {
        dialogs().messageBox("Non hai selezionato alcun ingrediente", Dialogs::SoloOK, "Attenzione",
                             Dialogs::NessunaIcona);
        return;
    }
    FlexGrid *g = ui->GridRicette;
    g->setCol(ColIngrediente);
    if (g->Row() == 0)
        g->setRow(1);
    const bool rigaVuota = g->Rows() == 2 && g->Text().isEmpty();
    if (!rigaVuota) {
        g->AddItem();
        g->setRow(g->Rows() - 1);
    }
    if (ui->Qta->text().isEmpty())
        ui->Qta->setText(QStringLiteral("0"));
    const int r = g->Row();
    g->setTextMatrix(r, ColIngrediente, ui->IngredienteScelto->text());
    g->setTextMatrix(r, ColQuantita, ui->Qta->text());
    g->setTextMatrix(r, ColCommento, ui->Commento->text());
    ScriviRigaIngrediente();
    if (g->TextMatrix(r, ColChiave).isEmpty()) {
        // Not stored: the grid shows only what the book holds, the boxes keep what was typed.
        if (rigaVuota)
            svuotaRiga(g, r);
        else
            g->RemoveItem(r);
        g->setRow(0);
        return;
    }
    ui->IngredienteScelto->clear();
    ui->IngredienteScelto->setFocus();
    ui->Qta->clear();
    ui->Commento->clear();
}

void Ricette::GridRicette_Click()
{
    const FlexGrid *g = ui->GridRicette;
    const int r = g->Row();
    if (r == 0)
        return;
    ui->Qta->setText(g->TextMatrix(r, ColQuantita));
    const QString commento = g->TextMatrix(r, ColCommento);
    ui->Commento->setText(commento == QStringLiteral(" ") ? QString() : commento);
}

void Ricette::Command2_Click()
{
    FlexGrid *g = ui->GridRicette;
    const int r = g->Row();
    if (r == 0) {
        dialogs().messageBox("Non è stato selezionato alcun ingrediente da cancellare",
                             Dialogs::SoloOK, "Attenzione", Dialogs::NessunaIcona);
    } else {
        // The boxes held the deleted line: kept, one click would add it again, to any recipe.
        ui->IngredienteScelto->clear();
        ui->Qta->clear();
        ui->Commento->clear();
        CancellaRigaIngrediente();
        if (g->TextMatrix(r, ColChiave).isEmpty()) {
            if (g->Rows() > 2) {
                g->RemoveItem(r);
                g->setRow(qMin(r, g->Rows() - 1));
            } else {
                svuotaRiga(g, r);
                g->setRow(0);
            }
        }
    }
    ui->ListaIngredienti->setFocus();
}
