// The ingredient lines of the current recipe: the grid, the ingredient list and its
// completion, new ingredients, quantities, adding, picking and deleting lines.
//
// Column 0 of a grid row holds the key of the line stored for it: the routines that store or
// delete a line tell their caller what became of it through that cell.
#include "editor/ricette.h"
#include "ui_ricette.h"

#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"
#include "toolkit/maiuscole.h"

#include <QApplication>

namespace {

enum ColonnaGriglia { ColChiave = 0, ColIngrediente, ColQuantita, ColCommento };
// The fields of Data3's query, by position.
enum CampoRiga { CampoChiave = 0, CampoRicetta, CampoIngrediente, CampoQuantita, CampoCommenti };

void svuotaRiga(FlexGrid *g, int riga)
{
    for (int c = ColChiave; c <= ColCommento; ++c)
        g->setTextMatrix(riga, c, QString());
}

// Focus taken by another window or by a popup (the box's own context menu) is not the cook
// leaving the box: nothing is asked or closed then.
bool fuocoLasciato(const QWidget *finestra)
{
    return finestra->isActiveWindow() && !QApplication::activePopupWidget();
}

} // namespace

void Ricette::svuotaGriglia()
{
    ui->GridRicette->setRows(2);
}

void Ricette::CaricaListaIngredienti()
{
    Data2->esegui([this](Recordset &rs) {
        const int da = rs.Eof() ? rs.RecordCount() : qMax(0, rs.AbsolutePosition());
        for (int p = da; p < rs.RecordCount(); ++p) {
            const QString nome = rs.valoreAlPosto(p, 1).toString();
            const qint64 chiave = rs.valoreAlPosto(p, 0).toLongLong();
            auto *voce = new QListWidgetItem(nome); // keyed before it joins the list
            voce->setData(Qt::UserRole, chiave);
            ui->ListaIngredienti->addItem(voce);
            NomiIngredienti << nome;
            IDIngredienti << QString::number(chiave);
        }
    });
}

void Ricette::CercaNomeIngrediente()
{
    // A key the list lacks gets no name rather than the previous line's.
    const int i = IDIngredienti.indexOf(IDIngredienteCorrente);
    NomeIngrediente = i < 0 ? QString() : NomiIngredienti.at(i);
}

void Ricette::CaricaGriglia()
{
    FlexGrid *g = ui->GridRicette;
    svuotaGriglia();
    IDRicettaCorrente = ui->Label2->text().trimmed();
    Data3->esegui([&](Recordset &rs) {
        for (int p = 0; p < rs.RecordCount(); ++p) {
            const QString ricetta = rs.valoreAlPosto(p, CampoRicetta).toString();
            if (ricetta.isEmpty() || ricetta != IDRicettaCorrente)
                continue;
            IDIngredienteCorrente = rs.valoreAlPosto(p, CampoIngrediente).toString();
            CercaNomeIngrediente();
            // Cell by cell: a tab in a comment must not split it.
            g->AddItem();
            const int r = g->Rows() - 1;
            g->setTextMatrix(r, ColChiave, rs.valoreAlPosto(p, CampoChiave).toString());
            g->setTextMatrix(r, ColIngrediente, NomeIngrediente);
            g->setTextMatrix(r, ColQuantita, rs.valoreAlPosto(p, CampoQuantita).toString());
            g->setTextMatrix(r, ColCommento, rs.valoreAlPosto(p, CampoCommenti).toString());
        }
    });
    if (g->Rows() >= 3) {
        g->RemoveItem(1); // the previous recipe's row
        g->setRow(1);
    } else {
        svuotaRiga(g, 1);
        g->setRow(0);
    }
}

void Ricette::ScriviRigaIngrediente()
{
    FlexGrid *g = ui->GridRicette;
    IDRicettaCorrente = ui->Label2->text().trimmed();
    if (IDRicettaCorrente.isEmpty()) {
        dialogs().beep(); // an empty book: no recipe to give the line to
        return;
    }
    QString chiave;
    const bool riuscito = Data3->esegui([&](Recordset &rs) {
        rs.AddNew();
        rs.Fields(CampoRicetta) = IDRicettaCorrente.toLongLong();
        rs.Fields(CampoIngrediente) = IDIngredienteScelto;
        rs.Fields(CampoQuantita) = ui->Qta->text();
        rs.Fields(CampoCommenti) = ui->Commento->text();
        rs.Update();
        rs.setBookmark(rs.LastModified());
        chiave = rs.Fields(CampoChiave).Value().toString();
    });
    if (!riuscito) {
        // A row left half-added would be stored by the set's next move.
        Data3->CancelUpdate();
        return;
    }
    g->setTextMatrix(g->Row(), ColChiave, chiave);
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

void Ricette::AggiungiIngredienteArchivio()
{
    const QString nome = maiuscolaIniziale(ui->Text1->text());
    const QString maiuscolo = nome.toUpper();
    int doppione = -1;
    bool riuscito = Data2->esegui([&](Recordset &rs) {
        rs.MoveFirst();
        for (int p = 0; !nome.isEmpty() && p < rs.RecordCount() && doppione < 0; ++p)
            if (rs.valoreAlPosto(p, 1).toString().toUpper() == maiuscolo)
                doppione = p;
    });
    QString scelto = nome;
    qint64 chiaveScelta = 0;
    if (riuscito && doppione >= 0) {
        dialogs().messageBox("Ingrediente già presente", Dialogs::SoloOK,
                             "Non sono ammessi duplicati", Dialogs::NessunaIcona);
        // The ingredient of that name is the one chosen, spelt as stored.
        Data2->esegui([&](Recordset &rs) {
            scelto = rs.valoreAlPosto(doppione, 1).toString();
            chiaveScelta = rs.valoreAlPosto(doppione, 0).toLongLong();
        });
    } else if (riuscito && !nome.isEmpty()) {
        ui->Text1->setText(nome);
        riuscito = Data2->Refresh() && Data2->esegui([&](Recordset &rs) {
            rs.AddNew();
            rs.Fields(1) = nome;
            rs.Update();
        });
        if (riuscito) {
            NuovoIDIngrediente.clear(); // a failed read must not name the previous one
            Data2->esegui([&](Recordset &rs) {
                rs.setBookmark(rs.LastModified());
                NuovoIDIngrediente = rs.Fields(0).Value().toString();
                rs.MoveFirst();
            });
            chiaveScelta = NuovoIDIngrediente.toLongLong();
            ui->ListaIngredienti->clear();
            NomiIngredienti.clear();
            IDIngredienti.clear();
            CaricaListaIngredienti();
            ui->ListaIngredienti->setCurrentRow(ui->ListaIngredienti->count() - 1);
        } else {
            Data2->CancelUpdate();
        }
    }
    if (!nome.isEmpty()) {
        // The box names what the book holds; after a failure it keeps the name and no key, so
        // no line can be stored for an ingredient that is not there.
        ui->IngredienteScelto->setText(chiaveScelta ? scelto : ui->Text1->text());
        IDIngredienteScelto = chiaveScelta;
        IngredienteTrovato = chiaveScelta ? 1 : 0;
    }
    ui->Text1->clear();
    ui->Command3->setEnabled(true);
}

void Ricette::IngredienteScelto_KeyUp(int KeyCode)
{
    IngredienteTrovato = 0;
    if (KeyCode == 46 || KeyCode == 8)
        return;
    QLineEdit *casella = ui->IngredienteScelto;
    const QString scritto = casella->text().left(casella->cursorPosition());
    const int n = int(scritto.size());
    if (casella->text() != scritto)
        casella->setText(scritto);
    // An empty box is not completed: a Tab or a Shift released in it chooses nothing.
    if (n == 0 || ui->ListaIngredienti->count() == 0)
        return;
    for (int i = 0; i < NomiIngredienti.size(); ++i) {
        if (QStringView(NomiIngredienti.at(i)).left(n).compare(scritto, Qt::CaseInsensitive) == 0) {
            IngredienteTrovato = 1;
            casella->setText(NomiIngredienti.at(i));
            IDIngredienteScelto = IDIngredienti.at(i).toLongLong();
            ui->ListaIngredienti->setCurrentRow(i);
            break;
        }
    }
    casella->setCursorPosition(n);
}

void Ricette::IngredienteScelto_LostFocus()
{
    QLineEdit *casella = ui->IngredienteScelto;
    if (Attivata != 1 || !fuocoLasciato(this) || IngredienteTrovato != 0 ||
        casella->text().trimmed().isEmpty())
        return;
    const Dialogs::Risposta r =
        dialogs().messageBox(righe({"L'ingrediente inserito non è presente nella lista.",
                                    "Vuoi aggiungerlo all'archivio degli ingredienti?"}),
                             Dialogs::SiNo, "Attenzione!!", Dialogs::NessunaIcona);
    if (r != Dialogs::Si) {
        casella->clear();
        casella->setFocus();
        return;
    }
    ui->Text1->setText(casella->text());
    AggiungiIngredienteArchivio();
}

// A click shows the entry in the box too: "Rimp." and "Agg. alla ricetta" then name the same.
void Ricette::ListaIngredienti_Click()
{
    const QListWidgetItem *voce = ui->ListaIngredienti->currentItem();
    if (!voce)
        return;
    IngredienteTrovato = 1;
    ui->IngredienteScelto->setText(voce->text());
    IDIngredienteScelto = voce->data(Qt::UserRole).toLongLong();
}

void Ricette::ListaIngredienti_DblClick()
{
    ListaIngredienti_Click();
    if (ui->ListaIngredienti->currentItem())
        ui->Qta->setFocus();
}

void Ricette::ListaIngredienti_KeyPress(int &KeyAscii)
{
    if (KeyAscii == '.' || KeyAscii == 8)
        return;
    IngredienteTrovato = 0;
    const int quante = ui->ListaIngredienti->count();
    const int scelta = ui->ListaIngredienti->currentRow();
    if (quante == 0 || (scelta >= 0 && scelta >= quante - 2))
        return;
    const QString tasto = QChar(KeyAscii);
    for (int i = qMax(0, scelta); i < quante; ++i) {
        if (QStringView(NomiIngredienti.value(i)).left(1).compare(tasto, Qt::CaseInsensitive) ==
            0) {
            IngredienteTrovato = 1;
            ui->IngredienteScelto->setText(NomiIngredienti.at(i));
            IDIngredienteScelto = IDIngredienti.at(i).toLongLong();
            break;
        }
    }
}

void Ricette::Command3_Click()
{
    ui->Text1->clear();
    ui->Text1->setEnabled(true);
    ui->Text1->setFocus();
    ui->Command3->setEnabled(false);
}

void Ricette::Command4_Click()
{
    AggiungiIngredienteArchivio();
}

void Ricette::Text1_KeyPress(int &KeyAscii)
{
    if (KeyAscii != 13)
        return;
    ui->Text1->setText(maiuscolaIniziale(ui->Text1->text()));
    AggiungiIngredienteArchivio();
}

void Ricette::Text1_LostFocus()
{
    if (Attivata != 1 || !fuocoLasciato(this))
        return;
    ui->Text1->setText(maiuscolaIniziale(ui->Text1->text()));
    ui->Text1->setEnabled(false);
    ui->Command3->setEnabled(true);
}

void Ricette::Qta_GotFocus()
{
    PuntoInserito = 0;
}

void Ricette::Qta_LostFocus()
{
    PuntoInserito = 0;
}

void Ricette::Qta_KeyPress(int &KeyAscii)
{
    if (KeyAscii == 8) {
        if (ui->Qta->text().endsWith('.'))
            PuntoInserito = 0;
    } else if (KeyAscii == '.' && PuntoInserito != 1) {
        PuntoInserito = 1;
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
