#include "masterdata/categoriealimentari.h"
#include "ui_categoriealimentari.h"

#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"
#include "toolkit/maiuscole.h"

#include <QKeyEvent>

Categoriealimentari::Categoriealimentari(QWidget *parent)
    : FinestraAnagrafica(Schema::Origine::CategorieOrdinePerChiave, parent),
      ui(std::make_unique<Ui::Categoriealimentari>())
{
    ui->setupUi(this);
    txtFields[1] = ui->txtFields_1;
    datPrimaryRS->bind(txtFields[1], "CategoriaAlimentare");
    collega(ui->datPrimaryRS, ui->DBGrid1, {{QString(), -1}, {"CategoriaAlimentare", 1}},
            ui->cmdChiudi);
    ui->DBGrid1->setColumnWidth(0, 24);

    connect(ui->cmdInserisci, &QPushButton::clicked, this,
            &Categoriealimentari::cmdInserisci_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Categoriealimentari::Command1_Click);
    connect(ui->cmdCancella, &QPushButton::clicked, this, &Categoriealimentari::cmdCancella_Click);
    connect(txtFields[1], &QLineEdit::returnPressed, this, [this] { txtFields_KeyPress(1, 13); });
    txtFields[1]->installEventFilter(this);
}

Categoriealimentari::~Categoriealimentari() = default;

void Categoriealimentari::cmdInserisci_Click()
{
    txtFields[1]->setEnabled(true);
    datPrimaryRS->esegui([](Recordset &rs) { rs.AddNew(); });
    txtFields[1]->setFocus();
    dialogs().beep();
}

void Categoriealimentari::Command1_Click()
{
    const Recordset *rs = datPrimaryRS->Recordset();
    if (rs && (rs->haRigaCorrente() || rs->EditMode() == Recordset::NuovoInCorso))
        txtFields[1]->setEnabled(true);
}

void Categoriealimentari::cmdCancella_Click()
{
    txtFields[1]->setEnabled(false);
    eliminaCorrente();
}

void Categoriealimentari::txtFields_KeyPress(int Index, int KeyAscii)
{
    if (KeyAscii != 13)
        return;
    txtFields[Index]->setText(maiuscolaIniziale(txtFields[Index]->text()));
    // The new row makes the data source store the name just typed first.
    datPrimaryRS->esegui([](Recordset &rs) { rs.AddNew(); });
    dialogs().beep();
}

void Categoriealimentari::txtFields_LostFocus(int Index)
{
    txtFields[Index]->setText(maiuscolaIniziale(txtFields[Index]->text()));
}

bool Categoriealimentari::eventFilter(QObject *o, QEvent *e)
{
    if (o == txtFields[1] && e->type() == QEvent::FocusOut)
        txtFields_LostFocus(1);
    return QWidget::eventFilter(o, e);
}

void Categoriealimentari::Form_Unload()
{
    txtFields[1]->setEnabled(false);
    FinestraAnagrafica::Form_Unload();
}
