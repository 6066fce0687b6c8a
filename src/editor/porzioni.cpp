// Converting the recipe to another number of portions, and replacing a line's ingredient.
#include "editor/ricette.h"
#include "ui_ricette.h"

#include "storage/database.h"
#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"

#include <QSet>
#include <cmath>

namespace {

// Fields of Data3 by position.
enum { RigaChiave = 0, RigaRicetta, RigaIngrediente, RigaQuantita, RigaCommenti };

// Quantities are typed with "." but a conversion stores them with the user's separator: both
// read. A text that is no number (an imported "q.b.") is left as it is.
bool leggiQuantita(const QString &testo, double &q)
{
    QString t = testo.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    q = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(q);
}

// In the user's format, without trailing zeros and without a group separator, which would
// read back as a decimal one.
QString testoQuantita(double x)
{
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    QString t = l.toString(x, 'f', 2);
    if (t.contains(l.decimalPoint())) {
        while (t.endsWith(l.zeroDigit()))
            t.chop(l.zeroDigit().size());
        if (t.endsWith(l.decimalPoint()))
            t.chop(l.decimalPoint().size());
    }
    return t;
}

} // namespace

double Ricette::convertiQuantita(double q, double r)
{
    double x = q * r;
    x = std::floor(x * 100 + 0.5) / 100;
    // A tenths digit of 0 drops the hundredths too.
    if (std::fmod(std::floor(x * 10), 10) == 0)
        x = std::floor(x);
    if (std::floor(x + 0.1) > std::floor(x))
        x = std::floor(x + 0.1);
    if (std::floor(x - 0.2) < std::floor(x))
        x = std::floor(x);
    return x;
}

void Ricette::Text2_KeyPress(int &KeyAscii)
{
    if (KeyAscii != 8 && (KeyAscii < '0' || KeyAscii > '9')) {
        KeyAscii = 0;
        dialogs().beep();
    }
}

void Ricette::Command5_Click()
{
    const QString nuove = ui->Text2->text();
    const QString attuali = testo(8);
    const double n = nuove.toDouble();
    const double p = attuali.toDouble();
    if (!nuove.isEmpty() && !attuali.isEmpty() && nuove != attuali && n != 0 && p != 0) {
        const double r = n / p;
        setTesto(8, nuove);
        FlexGrid *g = ui->GridRicette;
        g->setCol(2);
        const bool memorizza = ui->Check1->isChecked();
        QList<std::pair<qint64, QString>> daScrivere;
        for (int riga = 1; riga < g->Rows(); ++riga) {
            double q = 0;
            if (!leggiQuantita(g->TextMatrix(riga, 2), q))
                continue;
            // A huge imported quantity can overflow: it stays as it was rather than "inf".
            const double x = convertiQuantita(q, r);
            if (!std::isfinite(x))
                continue;
            const QString t = testoQuantita(x);
            g->setTextMatrix(riga, 2, t);
            bool ok = false;
            const qint64 chiave = g->TextMatrix(riga, 0).trimmed().toLongLong(&ok);
            if (memorizza && ok)
                daScrivere.append({chiave, t});
        }
        if (memorizza)
            Data3->esegui([&](Recordset &rs) {
                // Only the recipe's own lines are written.
                QSet<qint64> righe;
                for (int pos = 0; pos < rs.RecordCount(); ++pos)
                    righe.insert(rs.bookmarkAlPosto(pos).toLongLong());
                // The lines and the portions they are for are stored together or not at all
                // (the recipe's set shares this connection); one commit also spares the disk.
                Database::Transazione t(rs.database());
                for (const auto &[chiave, quantita] : std::as_const(daScrivere)) {
                    if (!righe.contains(chiave))
                        continue;
                    rs.setBookmark(chiave);
                    rs.Edit();
                    rs.Fields(RigaQuantita) = quantita;
                    rs.Update();
                }
                if (datPrimaryRS->UpdateRecord()) {
                    t.commit();
                    PorzioniMemorizzate = testo(8);
                }
                unsetCursor();
            });
    }
    ui->Text2->clear();
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
    g->setTextMatrix(riga, 1, voce->text());
    g->setTextMatrix(riga, 2, ui->Qta->text());
    g->setTextMatrix(riga, 3, ui->Commento->text());
    SostituisciRigaIngrediente();
    ui->ListaIngredienti->setFocus();
    ui->Qta->clear();
    ui->Commento->clear();
}

// The line keeps its key: changed in place, not deleted and added again.
void Ricette::SostituisciRigaIngrediente()
{
    IDRicettaCorrente = ui->Label2->text().trimmed();
    FlexGrid *g = ui->GridRicette;
    const int riga = g->Row();
    bool ok = false;
    const qint64 chiave = g->TextMatrix(riga, 0).trimmed().toLongLong(&ok);
    const QListWidgetItem *voce = ui->ListaIngredienti->currentItem();
    if (riga == 0 || !ok || !voce)
        return;
    Data3->esegui([&](Recordset &rs) {
        rs.FindFirst(Schema::Criterio::PerRiga + QString::number(chiave));
        if (rs.NoMatch())
            return;
        rs.Edit();
        rs.Fields(RigaRicetta) = IDRicettaCorrente;
        rs.Fields(RigaIngrediente) = voce->data(Qt::UserRole);
        rs.Fields(RigaQuantita) = ui->Qta->text();
        rs.Fields(RigaCommenti) = ui->Commento->text();
        g->setTextMatrix(riga, 0, rs.value(RigaChiave).toString());
        rs.Update();
    });
}
