#include "masterdata/categoriealimentari.h"
#include "ui_categoriealimentari.h"

#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"

Categoriealimentari::Categoriealimentari(QWidget *parent)
    : FinestraAnagrafica(Schema::Origine::CategorieOrdinePerChiave, parent),
      ui(std::make_unique<Ui::Categoriealimentari>())
{
    ui->setupUi(this);
    datPrimaryRS->bind(ui->txtFields_1, "CategoriaAlimentare");
    collega({ui->datPrimaryRS, ui->DBGrid1, ui->txtFields_1, ui->cmdCancella, ui->cmdChiudi},
            {{QString(), -1}, {"CategoriaAlimentare", Schema::CategoriaAlimentare}});
    ui->DBGrid1->setColumnWidth(0, 24);

    connect(ui->cmdInserisci, &QPushButton::clicked, this,
            &Categoriealimentari::cmdInserisci_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Categoriealimentari::modifica_Click);
}

Categoriealimentari::~Categoriealimentari() = default;

void Categoriealimentari::cmdInserisci_Click()
{
    ui->txtFields_1->setEnabled(true);
    datPrimaryRS->esegui([](Recordset &rs) { rs.AddNew(); });
    ui->txtFields_1->setFocus();
    dialogs().beep();
}

void Categoriealimentari::modifica_Click()
{
    const Recordset *rs = datPrimaryRS->Recordset();
    if (rs && (rs->haRigaCorrente() || rs->EditMode() == Recordset::NuovoInCorso))
        ui->txtFields_1->setEnabled(true);
}

void Categoriealimentari::nome_Confermato()
{
    // The new row makes the data source store the name just typed first.
    datPrimaryRS->esegui([](Recordset &rs) { rs.AddNew(); });
    dialogs().beep();
}
