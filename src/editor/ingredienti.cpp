// The ingredient list: choosing an ingredient from the list or by typing its beginning, and
// adding a new one to the book.
#include "editor/ricette.h"
#include "editor/tasti.h"
#include "ui_ricette.h"

#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"
#include "toolkit/maiuscole.h"

#include <QApplication>

namespace {

// Focus taken by another window or by a popup (the box's own context menu) is not the cook
// leaving the box: nothing is asked or closed then.
bool fuocoLasciato(const QWidget *finestra)
{
    return finestra->isActiveWindow() && !QApplication::activePopupWidget();
}

} // namespace

void Ricette::CaricaListaIngredienti()
{
    ingredienti_->esegui([this](Recordset &rs) {
        const int da = rs.Eof() ? rs.RecordCount() : qMax(0, rs.AbsolutePosition());
        if (da >= rs.RecordCount())
            return;
        // The names in one read, as the sort left them; the key is the row's bookmark.
        const QVariantList nomi = rs.colonnaIntera(Schema::Ingrediente);
        for (int p = da; p < nomi.size(); ++p) {
            const QString nome = nomi.at(p).toString();
            const qint64 chiave = rs.bookmarkAlPosto(p).toLongLong();
            auto *voce = new QListWidgetItem(nome); // keyed before it joins the list
            voce->setData(Qt::UserRole, chiave);
            ui->ListaIngredienti->addItem(voce);
            nomiIngredienti_ << nome;
            idIngredienti_ << QString::number(chiave);
        }
    });
}

// A key the list lacks gets no name rather than the previous line's.
QString Ricette::nomeIngrediente(const QString &chiave) const
{
    const int i = idIngredienti_.indexOf(chiave);
    return i < 0 ? QString() : nomiIngredienti_.at(i);
}

void Ricette::AggiungiIngredienteArchivio()
{
    const QString nome = maiuscolaIniziale(ui->Text1->text());
    const QString maiuscolo = nome.toUpper();
    int doppione = -1;
    const bool riuscito = ingredienti_->esegui([&](Recordset &rs) {
        rs.MoveFirst();
        for (int p = 0; !nome.isEmpty() && p < rs.RecordCount() && doppione < 0; ++p)
            if (rs.valoreAlPosto(p, Schema::Ingrediente).toString().toUpper() == maiuscolo)
                doppione = p;
    });
    QString scelto = nome;
    qint64 chiaveScelta = 0;
    if (riuscito && doppione >= 0) {
        dialogs().messageBox("Ingrediente già presente", Dialogs::SoloOK,
                             "Non sono ammessi duplicati", Dialogs::NessunaIcona);
        // The ingredient of that name is the one chosen, spelt as stored.
        ingredienti_->esegui([&](Recordset &rs) {
            scelto = rs.valoreAlPosto(doppione, Schema::Ingrediente).toString();
            chiaveScelta = rs.valoreAlPosto(doppione, Schema::IDIngrediente).toLongLong();
        });
    } else if (riuscito && !nome.isEmpty()) {
        ui->Text1->setText(nome);
        chiaveScelta = registraIngrediente(nome);
    }
    if (!nome.isEmpty()) {
        // The box names what the book holds; after a failure it keeps the name and no key, so
        // no line can be stored for an ingredient that is not there.
        ui->IngredienteScelto->setText(chiaveScelta ? scelto : ui->Text1->text());
        idIngredienteScelto_ = chiaveScelta;
        ingredienteTrovato_ = chiaveScelta != 0;
    }
    ui->Text1->clear();
    ui->Command3->setEnabled(true);
}

// Stores a new ingredient and lists it, chosen; its key, 0 when it could not be stored.
qint64 Ricette::registraIngrediente(const QString &nome)
{
    const bool riuscito = ingredienti_->Refresh() && ingredienti_->esegui([&](Recordset &rs) {
        rs.AddNew();
        rs.Fields(Schema::Ingrediente) = nome;
        rs.Update();
    });
    if (!riuscito) {
        ingredienti_->CancelUpdate();
        return 0;
    }
    qint64 chiave = 0; // a failed read must not name the previous one
    ingredienti_->esegui([&](Recordset &rs) {
        rs.setBookmark(rs.LastModified());
        chiave = rs.Fields(Schema::IDIngrediente).Value().toLongLong();
        rs.MoveFirst();
    });
    ui->ListaIngredienti->clear();
    nomiIngredienti_.clear();
    idIngredienti_.clear();
    CaricaListaIngredienti();
    ui->ListaIngredienti->setCurrentRow(ui->ListaIngredienti->count() - 1);
    return chiave;
}

// The entry i of the list named in the chosen box.
void Ricette::scegliIngrediente(int i)
{
    ingredienteTrovato_ = true;
    ui->IngredienteScelto->setText(nomiIngredienti_.at(i));
    idIngredienteScelto_ = idIngredienti_.at(i).toLongLong();
}

void Ricette::IngredienteScelto_KeyUp(bool cancellato)
{
    ingredienteTrovato_ = false;
    if (cancellato)
        return;
    QLineEdit *casella = ui->IngredienteScelto;
    const QString scritto = casella->text().left(casella->cursorPosition());
    const int n = int(scritto.size());
    if (casella->text() != scritto)
        casella->setText(scritto);
    // An empty box is not completed: a Tab or a Shift released in it chooses nothing.
    if (n == 0 || ui->ListaIngredienti->count() == 0)
        return;
    for (int i = 0; i < nomiIngredienti_.size(); ++i) {
        if (QStringView(nomiIngredienti_.at(i)).left(n).compare(scritto, Qt::CaseInsensitive) ==
            0) {
            scegliIngrediente(i);
            ui->ListaIngredienti->setCurrentRow(i);
            break;
        }
    }
    casella->setCursorPosition(n);
}

void Ricette::IngredienteScelto_LostFocus()
{
    QLineEdit *casella = ui->IngredienteScelto;
    if (!attivata_ || !fuocoLasciato(this) || ingredienteTrovato_ ||
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
    ingredienteTrovato_ = true;
    ui->IngredienteScelto->setText(voce->text());
    idIngredienteScelto_ = voce->data(Qt::UserRole).toLongLong();
}

void Ricette::ListaIngredienti_DblClick()
{
    ListaIngredienti_Click();
    if (ui->ListaIngredienti->currentItem())
        ui->Qta->setFocus();
}

void Ricette::ListaIngredienti_KeyPress(int &KeyAscii)
{
    if (KeyAscii == '.' || KeyAscii == Tasto::Backspace)
        return;
    ingredienteTrovato_ = false;
    const int quante = ui->ListaIngredienti->count();
    const int scelta = ui->ListaIngredienti->currentRow();
    if (quante == 0 || (scelta >= 0 && scelta >= quante - 2))
        return;
    const QString tasto = QChar(KeyAscii);
    for (int i = qMax(0, scelta); i < quante; ++i) {
        if (QStringView(nomiIngredienti_.value(i)).left(1).compare(tasto, Qt::CaseInsensitive) ==
            0) {
            scegliIngrediente(i);
            break;
        }
    }
}

void Ricette::nuovoIngrediente_Click()
{
    ui->Text1->clear();
    ui->Text1->setEnabled(true);
    ui->Text1->setFocus();
    ui->Command3->setEnabled(false);
}

void Ricette::registraNuovoIngrediente_Click()
{
    AggiungiIngredienteArchivio();
}

void Ricette::nomeNuovoIngrediente_KeyPress(int &KeyAscii)
{
    if (KeyAscii != Tasto::Invio)
        return;
    ui->Text1->setText(maiuscolaIniziale(ui->Text1->text()));
    AggiungiIngredienteArchivio();
}

void Ricette::nomeNuovoIngrediente_LostFocus()
{
    if (!attivata_ || !fuocoLasciato(this))
        return;
    ui->Text1->setText(maiuscolaIniziale(ui->Text1->text()));
    ui->Text1->setEnabled(false);
    ui->Command3->setEnabled(true);
}
