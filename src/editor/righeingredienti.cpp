// The ingredient lines of the current recipe: the grid, quantities, adding, picking, replacing
// and deleting lines, and their quantities converted to other portions.
#include "editor/righeingredienti.h"
#include "editor/tasti.h"
#include "ui_ricette.h"

#include "storage/database.h"
#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"
#include "toolkit/porzioni.h"

#include <QHeaderView>
#include <QSet>
#include <cmath>

namespace {

void svuotaRiga(FlexGrid *g, int riga)
{
    for (int c = 0; c < g->columnCount(); ++c)
        g->setTextMatrix(riga, c, QString());
}

} // namespace

RigheIngredienti::RigheIngredienti(QWidget *finestra, Ui::Ricette &ui,
                                   NomeIngrediente nomeIngrediente)
    : QObject(finestra), finestra_(finestra), ui(ui),
      righe_(new DataSource(finestra, "Data3", Schema::Origine::TabellaRighe)),
      nomeIngrediente_(std::move(nomeIngrediente))
{
}

void RigheIngredienti::preparaGriglia()
{
    FlexGrid *g = ui.GridRicette;
    g->setCols(ColCommento + 1);
    g->setRows(2);
    g->setTextMatrix(0, ColIngrediente, "Ingrediente");
    g->setTextMatrix(0, ColQuantita, "Q.tà");
    g->setTextMatrix(0, ColCommento, "Commento");
    g->setColWidth(ColChiave, 1);
    g->setColWidth(ColIngrediente, 2400);
    g->setColWidth(ColQuantita, 500);
    g->setColWidth(ColCommento, 6450);
    // A converted quantity such as "83,33" must fit the narrow quantity column whole.
    g->setColumnWidth(ColQuantita, qMax(g->columnWidth(ColQuantita),
                                        g->fontMetrics().horizontalAdvance("00000,00")));
}

void RigheIngredienti::adattaGriglia()
{
    FlexGrid *g = ui.GridRicette;
    // The comment, the last column, fills the room the others leave and never asks for more:
    // nothing to scroll sideways.
    g->setColumnWidth(ColCommento,
                      g->fontMetrics().horizontalAdvance(g->TextMatrix(0, ColCommento)) + 16);
    // Five lines show however small the screen; the grid and the texts share what is left.
    g->setMinimumHeight(g->horizontalHeader()->sizeHint().height() +
                        5 * g->verticalHeader()->defaultSectionSize() + 2 * g->frameWidth());
}

QString RigheIngredienti::ricettaMostrata() const
{
    return ui.Label2->text().trimmed();
}

void RigheIngredienti::seguiRicetta(const QString &chiave)
{
    righe_->setRecordSource(Schema::Origine::RighePrefisso +
                            (chiave.isEmpty() ? QStringLiteral("0") : chiave));
    righe_->Refresh();
}

void RigheIngredienti::rileggi()
{
    righe_->Refresh();
    carica();
}

void RigheIngredienti::svuota()
{
    ui.GridRicette->setRows(2);
}

QList<RigheIngredienti::Riga> RigheIngredienti::mostrate() const
{
    QList<Riga> mostrate;
    const FlexGrid *g = ui.GridRicette;
    for (int r = 1; r < g->Rows(); ++r)
        mostrate.append({g->TextMatrix(r, ColIngrediente), g->TextMatrix(r, ColQuantita),
                         g->TextMatrix(r, ColCommento)});
    return mostrate;
}

void RigheIngredienti::carica()
{
    FlexGrid *g = ui.GridRicette;
    ricetta_ = ricettaMostrata();
    // Into the rows the grid has, cell by cell (a tab in a comment must not split it): a cell
    // that shows the same text is not drawn again.
    int r = 0;
    righe_->esegui([&](Recordset &rs) {
        for (int p = 0; p < rs.RecordCount(); ++p) {
            const QString ricetta = rs.valoreAlPosto(p, Schema::RigaRicetta).toString();
            if (ricetta.isEmpty() || ricetta != ricetta_)
                continue;
            if (++r == g->Rows())
                g->AddItem();
            g->setTextMatrix(r, ColChiave,
                             rs.valoreAlPosto(p, Schema::IDIngredienteRicetta).toString());
            g->setTextMatrix(
                r, ColIngrediente,
                nomeIngrediente_(rs.valoreAlPosto(p, Schema::RigaIngrediente).toString()));
            g->setTextMatrix(r, ColQuantita, rs.valoreAlPosto(p, Schema::Quantita).toString());
            g->setTextMatrix(r, ColCommento, rs.valoreAlPosto(p, Schema::Commenti).toString());
        }
    });
    g->setRows(qMax(2, r + 1)); // one row, empty, when the recipe has no line
    if (r == 0)
        svuotaRiga(g, 1);
    g->setRow(r == 0 ? 0 : 1);
}

void RigheIngredienti::scriviRiga(qint64 ingrediente)
{
    FlexGrid *g = ui.GridRicette;
    ricetta_ = ricettaMostrata();
    if (ricetta_.isEmpty()) {
        dialogs().beep(); // an empty book: no recipe to give the line to
        return;
    }
    g->setTextMatrix(g->Row(), ColChiave, scrivi(ingrediente, ui.Qta->text(), ui.Commento->text()));
}

QString RigheIngredienti::scrivi(qint64 ingrediente, const QString &quantita,
                                 const QString &commento)
{
    ricetta_ = ricettaMostrata();
    QString chiave;
    const bool riuscito = righe_->esegui([&](Recordset &rs) {
        rs.AddNew();
        rs.Fields(Schema::RigaRicetta) = ricetta_.toLongLong();
        rs.Fields(Schema::RigaIngrediente) = ingrediente;
        rs.Fields(Schema::Quantita) = quantita;
        rs.Fields(Schema::Commenti) = commento;
        rs.Update();
        rs.setBookmark(rs.LastModified());
        chiave = rs.Fields(Schema::IDIngredienteRicetta).Value().toString();
    });
    if (!riuscito) {
        // A row left half-added would be stored by the set's next move.
        righe_->CancelUpdate();
        return {};
    }
    return chiave;
}

void RigheIngredienti::cancellaRiga()
{
    FlexGrid *g = ui.GridRicette;
    g->setCol(ColChiave);
    const QString chiave = g->Text();
    if (chiave.isEmpty())
        return;
    const bool riuscito = righe_->esegui([&](Recordset &rs) {
        rs.FindFirst(Schema::Criterio::PerRiga + chiave);
        if (!rs.NoMatch())
            rs.Delete();
    });
    // A line not found is not in the book either.
    if (riuscito)
        g->setText(QString());
}

void RigheIngredienti::quantitaToccata()
{
    puntoInserito_ = false;
}

void RigheIngredienti::tastoQuantita(int &tasto)
{
    if (tasto == Tasto::Backspace) {
        if (ui.Qta->text().endsWith('.'))
            puntoInserito_ = false;
    } else if (tasto == '.' && !puntoInserito_) {
        puntoInserito_ = true;
    } else if (tasto < '0' || tasto > '9') {
        tasto = Tasto::Nessuno;
        dialogs().beep();
    }
}

void RigheIngredienti::aggiungi(qint64 ingrediente)
{
    if (ui.Commento->text().isEmpty())
        ui.Commento->setText(QStringLiteral(" "));
    if (ui.IngredienteScelto->text().trimmed().isEmpty()) {
        dialogs().messageBox("Non hai selezionato alcun ingrediente", Dialogs::SoloOK, "Attenzione",
                             Dialogs::NessunaIcona);
        return;
    }
    FlexGrid *g = ui.GridRicette;
    g->setCol(ColIngrediente);
    if (g->Row() == 0)
        g->setRow(1);
    const bool rigaVuota = g->Rows() == 2 && g->Text().isEmpty();
    if (!rigaVuota) {
        g->AddItem();
        g->setRow(g->Rows() - 1);
    }
    if (ui.Qta->text().isEmpty())
        ui.Qta->setText(QStringLiteral("0"));
    const int r = g->Row();
    g->setTextMatrix(r, ColIngrediente, ui.IngredienteScelto->text());
    g->setTextMatrix(r, ColQuantita, ui.Qta->text());
    g->setTextMatrix(r, ColCommento, ui.Commento->text());
    scriviRiga(ingrediente);
    if (g->TextMatrix(r, ColChiave).isEmpty()) {
        // Not stored: the grid shows only what the book holds, the boxes keep what was typed.
        if (rigaVuota)
            svuotaRiga(g, r);
        else
            g->RemoveItem(r);
        g->setRow(0);
        return;
    }
    ui.IngredienteScelto->clear();
    ui.IngredienteScelto->setFocus();
    ui.Qta->clear();
    ui.Commento->clear();
}

void RigheIngredienti::mostraRigaScelta()
{
    const FlexGrid *g = ui.GridRicette;
    const int r = g->Row();
    if (r == 0)
        return;
    ui.Qta->setText(g->TextMatrix(r, ColQuantita));
    const QString commento = g->TextMatrix(r, ColCommento);
    ui.Commento->setText(commento == QStringLiteral(" ") ? QString() : commento);
}

void RigheIngredienti::cancellaRigaScelta()
{
    FlexGrid *g = ui.GridRicette;
    const int r = g->Row();
    if (r == 0) {
        dialogs().messageBox("Non è stato selezionato alcun ingrediente da cancellare",
                             Dialogs::SoloOK, "Attenzione", Dialogs::NessunaIcona);
    } else {
        // The boxes held the deleted line: kept, one click would add it again, to any recipe.
        ui.IngredienteScelto->clear();
        ui.Qta->clear();
        ui.Commento->clear();
        cancellaRiga();
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
    ui.ListaIngredienti->setFocus();
}

void RigheIngredienti::sostituisciIngrediente()
{
    FlexGrid *g = ui.GridRicette;
    const int riga = g->Row();
    if (riga == 0)
        return;
    if (ui.Commento->text().isEmpty())
        ui.Commento->setText(" ");
    const QListWidgetItem *voce = ui.ListaIngredienti->currentItem();
    if (!voce || !voce->isSelected()) {
        dialogs().messageBox("Non hai selezionato alcun ingrediente", Dialogs::SoloOK, "Attenzione",
                             Dialogs::NessunaIcona);
        return;
    }
    if (ui.Qta->text().isEmpty())
        ui.Qta->setText("0");
    g->setTextMatrix(riga, ColIngrediente, voce->text());
    g->setTextMatrix(riga, ColQuantita, ui.Qta->text());
    g->setTextMatrix(riga, ColCommento, ui.Commento->text());
    sostituisciRiga();
    ui.ListaIngredienti->setFocus();
    ui.Qta->clear();
    ui.Commento->clear();
}

// The line keeps its key: changed in place, not deleted and added again.
void RigheIngredienti::sostituisciRiga()
{
    ricetta_ = ricettaMostrata();
    FlexGrid *g = ui.GridRicette;
    const int riga = g->Row();
    bool ok = false;
    const qint64 chiave = g->TextMatrix(riga, ColChiave).trimmed().toLongLong(&ok);
    const QListWidgetItem *voce = ui.ListaIngredienti->currentItem();
    if (riga == 0 || !ok || !voce)
        return;
    righe_->esegui([&](Recordset &rs) {
        rs.FindFirst(Schema::Criterio::PerRiga + QString::number(chiave));
        if (rs.NoMatch())
            return;
        rs.Edit();
        rs.Fields(Schema::RigaRicetta) = ricetta_;
        rs.Fields(Schema::RigaIngrediente) = voce->data(Qt::UserRole);
        rs.Fields(Schema::Quantita) = ui.Qta->text();
        rs.Fields(Schema::Commenti) = ui.Commento->text();
        g->setTextMatrix(riga, ColChiave, rs.value(Schema::IDIngredienteRicetta).toString());
        rs.Update();
    });
}

RigheIngredienti::Quantita RigheIngredienti::converti(double fattore)
{
    FlexGrid *g = ui.GridRicette;
    g->setCol(ColQuantita);
    Quantita convertite;
    for (int riga = 1; riga < g->Rows(); ++riga) {
        double q = 0;
        if (!Porzioni::leggiQuantita(g->TextMatrix(riga, ColQuantita), q))
            continue;
        // A huge imported quantity can overflow: it stays as it was rather than "inf".
        const double x = Porzioni::convertiQuantita(q, fattore);
        if (!std::isfinite(x))
            continue;
        const QString t = Porzioni::testoQuantita(x);
        g->setTextMatrix(riga, ColQuantita, t);
        bool ok = false;
        const qint64 chiave = g->TextMatrix(riga, ColChiave).trimmed().toLongLong(&ok);
        if (ok)
            convertite.append({chiave, t});
    }
    return convertite;
}

bool RigheIngredienti::memorizzaQuantita(const Quantita &daScrivere,
                                         const std::function<bool()> &insieme)
{
    bool fatto = false;
    righe_->esegui([&](Recordset &rs) {
        // Only the recipe's own lines are written.
        QSet<qint64> righe;
        for (int pos = 0; pos < rs.RecordCount(); ++pos)
            righe.insert(rs.bookmarkAlPosto(pos).toLongLong());
        // The lines and what goes with them are stored together or not at all (the recipe's
        // set shares this connection); one commit also spares the disk.
        Database::Transazione t(rs.database());
        for (const auto &[chiave, quantita] : daScrivere) {
            if (!righe.contains(chiave))
                continue;
            rs.setBookmark(chiave);
            rs.Edit();
            rs.Fields(Schema::Quantita) = quantita;
            rs.Update();
        }
        if (insieme()) {
            t.commit();
            fatto = true;
        }
    });
    return fatto;
}
