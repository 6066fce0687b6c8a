#include "import/finestraimportazione.h"
#include "ui_finestraimportazione.h"

#include "import/elenconomi.h"
#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "toolkit/applicazione.h"

#include <QKeyEvent>
#include <QWindow>

using namespace Applicazione;

FinestraImportazione::FinestraImportazione(QWidget *parent, const QString &ricetta)
    : QDialog(parent), Data1(new DataSource(this)), ui(std::make_unique<Ui::FinestraImportazione>())
{
    ui->setupUi(this);
    Data1->setObjectName("Data1");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(ui->Command1, &QPushButton::clicked, this, &FinestraImportazione::cmdOK_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &FinestraImportazione::cmdAnnulla_Click);
    ui->CatIng->installEventFilter(this);

    Data1->setDatabaseName(RicettarioCorrente);
    const bool senza = SceltaImportazione == CategoriaMancante;
    if (SceltaImportazione == Categoria || senza) {
        const QString scegli =
            QStringLiteral("Scegli la Categoria Alimentare da assegnare alla Ricetta da importare");
        ui->Label2->setText(senza ? "La ricetta \"" + ricetta +
                                        "\" non ha una Categoria Alimentare.\n" + scegli
                                  : scegli);
        Data1->setRecordSource(Schema::Origine::CategoriePerNome);
    } else {
        ui->Label2->setText("Scegli l'Ingrediente del tuo Ricettario, corrispondente "
                            "all'Ingrediente che si sta importando");
        Data1->setRecordSource(Schema::Origine::IngredientiPerNome);
    }
    SceltaImportazione = 0;
    CaricaElenco();
    if (senza) {
        ui->CatIng->insertItem(0, QStringLiteral("(nessuna categoria)"), NessunaCategoria);
        ui->CatIng->setCurrentIndex(0);
    }
}

bool FinestraImportazione::perTutte() const
{
    return ui->PerTutte->isChecked();
}

FinestraImportazione::~FinestraImportazione() = default;

void FinestraImportazione::CaricaElenco()
{
    ui->CatIng->clear();
    if (!Data1->Refresh())
        return; // the data source reported it
    Data1->esegui([this](Recordset &rs) {
        for (int p = 0; p < rs.RecordCount(); ++p)
            ui->CatIng->addItem(rs.valoreAlPosto(p, ElencoNomi::ColonnaNome).toString(),
                                rs.valoreAlPosto(p, ElencoNomi::ColonnaChiave).toLongLong());
    });
    ui->CatIng->setCurrentIndex(ui->CatIng->count() > 0 ? 0 : -1);
}

void FinestraImportazione::cmdOK_Click()
{
    // An empty list has no entry to take: that is giving up.
    SceltaImportazione =
        ui->CatIng->currentIndex() < 0 ? 0 : ui->CatIng->currentData().toLongLong();
    accept();
}

void FinestraImportazione::cmdAnnulla_Click()
{
    SceltaImportazione = 0;
    reject();
}

void FinestraImportazione::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    // No caption: for an empty title Qt would show the program's name, a blank one shows none.
    if (windowHandle())
        windowHandle()->setTitle(QStringLiteral(" "));
}

// Enter on the list takes the entry, as the OK button does.
bool FinestraImportazione::eventFilter(QObject *o, QEvent *e)
{
    if (o == ui->CatIng && e->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent *>(e)->key();
        if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) {
            cmdOK_Click();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void FinestraImportazione::done(int esito)
{
    Data1->setRecordSource(QString());
    QDialog::done(esito);
}
