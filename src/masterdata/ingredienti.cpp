#include "masterdata/ingredienti.h"
#include "ui_ingredienti.h"

#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"

Ingredienti::Ingredienti(QWidget *parent)
    : FinestraAnagrafica(Schema::Origine::IngredientiPerNome, parent),
      ui(std::make_unique<Ui::Ingredienti>())
{
    ui->setupUi(this);
    collega({ui->datPrimaryRS, ui->DBGrid1, ui->Text1, ui->cmdCancella, ui->cmdChiudi},
            {{"IDIngrediente", Schema::IDIngrediente}, {"Ingrediente", Schema::Ingrediente}});
    ui->DBGrid1->setColumnWidth(0, 110);

    connect(ui->cmdInserisci, &QPushButton::clicked, this, &Ingredienti::cmdInserisci_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Ingredienti::modifica_Click);
    connect(ui->DBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &Ingredienti::DBGrid1_RowColChange);
}

Ingredienti::~Ingredienti() = default;

void Ingredienti::cmdInserisci_Click()
{
    ui->Text1->setEnabled(true);
    ui->Text1->clear();
    ui->cmdInserisci->setEnabled(false);
    ui->Command1->setEnabled(false);
    ui->Text1->setFocus();
    modo_ = Modo::Aggiunta;
}

void Ingredienti::modifica_Click()
{
    const Recordset *rs = datPrimaryRS->Recordset();
    if (!rs || !rs->haRigaCorrente())
        return; // nothing to edit in an empty table
    segnalibro_ = rs->Bookmark();
    ui->Text1->setEnabled(true);
    ui->Command1->setEnabled(false);
    ui->cmdInserisci->setEnabled(false);
    modo_ = Modo::Modifica;
}

void Ingredienti::nome_Confermato()
{
    if (!ui->Text1->text().isEmpty())
        SalvaIngrediente();
}

void Ingredienti::SalvaIngrediente()
{
    const QString nome = ui->Text1->text();
    const QString maiuscolo = nome.toUpper();
    bool trovato = false;
    // The scan reads the rows in place: only the row it stops on becomes current, so the
    // grid and Text1 are not walked through every row.
    bool riuscito = datPrimaryRS->esegui([&](Recordset &rs) {
        for (int p = 0; p < rs.RecordCount(); ++p) {
            if (rs.valoreAlPosto(p, Schema::Ingrediente).toString().toUpper() == maiuscolo) {
                trovato = true;
                rs.setBookmark(rs.bookmarkAlPosto(p));
                break;
            }
        }
    });
    if (riuscito && trovato) {
        // The ingredient of that name stays current.
        dialogs().messageBox("Ingrediente già presente", Dialogs::SoloOK,
                             "Non sono ammessi duplicati", Dialogs::NessunaIcona);
    } else if (riuscito && modo_ == Modo::Aggiunta) {
        riuscito = datPrimaryRS->esegui([&](Recordset &rs) {
            rs.AddNew();
            rs.Fields(Schema::Ingrediente) = nome;
            rs.Update();
            rs.MoveLast();
        });
    } else if (riuscito && modo_ == Modo::Modifica) {
        riuscito = datPrimaryRS->esegui([&](Recordset &rs) {
            rs.setBookmark(segnalibro_);
            rs.Edit();
            rs.Fields(Schema::Ingrediente) = nome;
            rs.Update();
        });
    }
    if (!riuscito) {
        // The error was reported. Nothing half-done may be stored later behind the user's
        // back: the name stays in the box, in the same mode, for another Enter.
        datPrimaryRS->CancelUpdate();
        ui->Text1->setText(nome); // the grid copied the current name there
        ui->Text1->setFocus();
        return;
    }
    dialogs().beep();
    ui->Text1->clear();
    tornaInAttesa();
}

void Ingredienti::tornaInAttesa()
{
    ui->cmdInserisci->setEnabled(true);
    ui->Command1->setEnabled(true);
    modo_ = Modo::Attesa;
    ui->Text1->setEnabled(false);
}

void Ingredienti::DBGrid1_RowColChange()
{
    const QModelIndex attuale = ui->DBGrid1->currentIndex();
    if (!attuale.isValid())
        return;
    const QModelIndex nome = attuale.siblingAtColumn(1);
    if (attuale.column() != 1)
        ui->DBGrid1->selectionModel()->setCurrentIndex(nome, QItemSelectionModel::NoUpdate);
    ui->Text1->setText(nome.data().toString());
}
