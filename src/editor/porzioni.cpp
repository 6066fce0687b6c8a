// Converting the recipe to another number of portions, and replacing a line's ingredient.
#include "editor/ricette.h"
#include "ui_ricette.h"

#include "storage/database.h"
#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"
#include "toolkit/porzioni.h"

#include <QSet>
#include <cmath>

using Porzioni::convertiQuantita;
using Porzioni::leggiQuantita;
using Porzioni::testoQuantita;

void Ricette::Text2_KeyPress(int &KeyAscii)
{
    soloCifre(KeyAscii);
}

void Ricette::Command5_Click()
{
    const QString nuove = ui->Text2->text();
    const QString attuali = testo(Schema::NumeroPorzioni);
    const double n = nuove.toDouble();
    const double p = attuali.toDouble();
    if (!nuove.isEmpty() && !attuali.isEmpty() && nuove != attuali && n != 0 && p != 0) {
        setTesto(Schema::NumeroPorzioni, nuove);
        const QList<std::pair<qint64, QString>> convertite = convertiGriglia(n / p);
        if (ui->Check1->isChecked())
            memorizzaQuantita(convertite);
    }
    ui->Text2->clear();
}

// Converts the grid's quantities by the factor r; the stored lines' keys and new quantities.
QList<std::pair<qint64, QString>> Ricette::convertiGriglia(double r)
{
    FlexGrid *g = ui->GridRicette;
    g->setCol(ColQuantita);
    QList<std::pair<qint64, QString>> convertite;
    for (int riga = 1; riga < g->Rows(); ++riga) {
        double q = 0;
        if (!leggiQuantita(g->TextMatrix(riga, ColQuantita), q))
            continue;
        // A huge imported quantity can overflow: it stays as it was rather than "inf".
        const double x = convertiQuantita(q, r);
        if (!std::isfinite(x))
            continue;
        const QString t = testoQuantita(x);
        g->setTextMatrix(riga, ColQuantita, t);
        bool ok = false;
        const qint64 chiave = g->TextMatrix(riga, ColChiave).trimmed().toLongLong(&ok);
        if (ok)
            convertite.append({chiave, t});
    }
    return convertite;
}

void Ricette::memorizzaQuantita(const QList<std::pair<qint64, QString>> &daScrivere)
{
    Data3->esegui([&](Recordset &rs) {
        // Only the recipe's own lines are written.
        QSet<qint64> righe;
        for (int pos = 0; pos < rs.RecordCount(); ++pos)
            righe.insert(rs.bookmarkAlPosto(pos).toLongLong());
        // The lines and the portions they are for are stored together or not at all (the
        // recipe's set shares this connection); one commit also spares the disk.
        Database::Transazione t(rs.database());
        for (const auto &[chiave, quantita] : daScrivere) {
            if (!righe.contains(chiave))
                continue;
            rs.setBookmark(chiave);
            rs.Edit();
            rs.Fields(Schema::Quantita) = quantita;
            rs.Update();
        }
        if (datPrimaryRS->UpdateRecord()) {
            t.commit();
            porzioniMemorizzate_ = testo(Schema::NumeroPorzioni);
        }
        unsetCursor();
    });
}

void Ricette::Command8_Click()
{
    FlexGrid *g = ui->GridRicette;
    const int riga = g->Row();
    if (riga == 0)
        return;
    if (ui->Commento->text().isEmpty())
        ui->Commento->setText(" ");
    const QListWidgetItem *voce = ui->ListaIngredienti->currentItem();
    if (!voce || !voce->isSelected()) {
        dialogs().messageBox("Non hai selezionato alcun ingrediente", Dialogs::SoloOK, "Attenzione",
                             Dialogs::NessunaIcona);
        return;
    }
    if (ui->Qta->text().isEmpty())
        ui->Qta->setText("0");
    g->setTextMatrix(riga, ColIngrediente, voce->text());
    g->setTextMatrix(riga, ColQuantita, ui->Qta->text());
    g->setTextMatrix(riga, ColCommento, ui->Commento->text());
    SostituisciRigaIngrediente();
    ui->ListaIngredienti->setFocus();
    ui->Qta->clear();
    ui->Commento->clear();
}

// The line keeps its key: changed in place, not deleted and added again.
void Ricette::SostituisciRigaIngrediente()
{
    idRicettaCorrente_ = ui->Label2->text().trimmed();
    FlexGrid *g = ui->GridRicette;
    const int riga = g->Row();
    bool ok = false;
    const qint64 chiave = g->TextMatrix(riga, ColChiave).trimmed().toLongLong(&ok);
    const QListWidgetItem *voce = ui->ListaIngredienti->currentItem();
    if (riga == 0 || !ok || !voce)
        return;
    Data3->esegui([&](Recordset &rs) {
        rs.FindFirst(Schema::Criterio::PerRiga + QString::number(chiave));
        if (rs.NoMatch())
            return;
        rs.Edit();
        rs.Fields(Schema::RigaRicetta) = idRicettaCorrente_;
        rs.Fields(Schema::RigaIngrediente) = voce->data(Qt::UserRole);
        rs.Fields(Schema::Quantita) = ui->Qta->text();
        rs.Fields(Schema::Commenti) = ui->Commento->text();
        g->setTextMatrix(riga, ColChiave, rs.value(Schema::IDIngredienteRicetta).toString());
        rs.Update();
    });
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
