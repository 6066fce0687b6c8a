#include "categoriealimentari.h"
#include "ui_categoriealimentari.h"

#include "anagrafica.h"
#include "applicazione.h"
#include "datasource.h"
#include "dialogs.h"
#include "grigliadati.h"
#include "maiuscole.h"
#include "schema.h"

#include <QCloseEvent>
#include <QKeyEvent>

Categoriealimentari::Categoriealimentari(QWidget *parent)
    : QWidget(parent, Qt::Window), datPrimaryRS(new DataSource(this)),
      ui(std::make_unique<Ui::Categoriealimentari>())
{
    ui->setupUi(this);
    datPrimaryRS->setObjectName("datPrimaryRS");
    txtFields[1] = ui->txtFields_1;

    datPrimaryRS->setRecordSource(Schema::Origine::CategorieOrdinePerChiave);
    datPrimaryRS->bind(txtFields[1], "CategoriaAlimentare");
    ui->datPrimaryRS->attach(datPrimaryRS);
    collegaGriglia(ui->DBGrid1, datPrimaryRS, {{QString(), -1}, {"CategoriaAlimentare", 1}});
    ui->DBGrid1->setColumnWidth(0, 24);

    connect(ui->cmdInserisci, &QPushButton::clicked, this,
            &Categoriealimentari::cmdInserisci_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Categoriealimentari::Command1_Click);
    connect(ui->cmdCancella, &QPushButton::clicked, this, &Categoriealimentari::cmdCancella_Click);
    connect(ui->cmdChiudi, &QPushButton::clicked, this, &Categoriealimentari::cmdChiudi_Click);
    connect(txtFields[1], &QLineEdit::returnPressed, this, [this] { txtFields_KeyPress(1, 13); });
    txtFields[1]->installEventFilter(this);
    connect(datPrimaryRS, &DataSource::Reposition, this,
            &Categoriealimentari::datPrimaryRS_Reposition);
    connect(datPrimaryRS, &DataSource::Validate, this, &Categoriealimentari::datPrimaryRS_Validate);
    connect(datPrimaryRS, &DataSource::Error, this, &Categoriealimentari::datPrimaryRS_Error);

    Form_Load();
}

Categoriealimentari::~Categoriealimentari() = default;

void Categoriealimentari::Form_Load()
{
    datPrimaryRS->setDatabaseName(Applicazione::RicettarioCorrente);
}

void Categoriealimentari::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    // The data source opens with the window, once.
    if (!aperta_) {
        aperta_ = true;
        datPrimaryRS->Refresh();
    }
}

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
    Anagrafica::eliminaCorrente(*datPrimaryRS);
}

void Categoriealimentari::cmdChiudi_Click()
{
    Anagrafica::freccia(this);
    close();
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

void Categoriealimentari::datPrimaryRS_Reposition()
{
    Anagrafica::freccia(this);
    Anagrafica::mostraPosizione(*datPrimaryRS);
}

void Categoriealimentari::datPrimaryRS_Validate(int &, int &)
{
    Anagrafica::clessidra(this);
}

void Categoriealimentari::datPrimaryRS_Error(int, int &Response)
{
    Anagrafica::mostraErrore(*datPrimaryRS, Response);
}

void Categoriealimentari::Form_Unload()
{
    txtFields[1]->setEnabled(false);
    Anagrafica::freccia(this);
    // Closing writes the name still in the box.
    datPrimaryRS->Close();
}

void Categoriealimentari::closeEvent(QCloseEvent *e)
{
    Form_Unload();
    e->accept();
}
