// The recipe list window: three lists of recipes and their deletion; printing them and their
// other ways out are in esporta.cpp.
#include "elenco/elenco.h"
#include "ui_elenco.h"

#include "elenco/righeelenco.h"
#include "printing/impaginazione.h"
#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"
#include "toolkit/grigliadati.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>

using namespace Schema;

namespace {

QString perCategoria(const QVariant &chiave)
{
    return Origine::ElencoPrefisso + Origine::ElencoPerCategoria + chiave.toString();
}

} // namespace

Elenco::Elenco(QWidget *parent)
    : QWidget(parent, Qt::Window), Data1(new DataSource(this, "Data1", CategorieAlimentari)),
      Data2(new DataSource(this, "Data2", QString())),
      Data3(new DataSource(this, "Data3", Origine::RicettePerChiave)),
      Data4(new DataSource(this, "Data4", Schema::Origine::TabellaRighe)),
      Data5(new DataSource(this, "Data5", Ingredienti)), ui(std::make_unique<Ui::Elenco>())
{
    ui->setupUi(this);
    righe_ = new RigheElenco(this);
    ui->Griglia->setModel(righe_);

    for (DataSource *ds : {Data1, Data2, Data3, Data4, Data5})
        connect(
            ds, &DataSource::Error, this,
            [this, ds](int DataErr, int &Response) { Data_Error(ds, DataErr, Response); },
            Qt::DirectConnection);
    connect(ui->Lista, &QComboBox::activated, this, &Elenco::categoria_Click);
    ui->Lista->installEventFilter(this);
    // Each acts only when its button became selected.
    connect(ui->Option1, &QRadioButton::toggled, this, [this](bool scelto) {
        if (scelto)
            elencoPerCategoria_Click();
    });
    connect(ui->Option2, &QRadioButton::toggled, this, [this](bool scelto) {
        if (scelto)
            elencoAlfabetico_Click();
    });
    connect(ui->Option3, &QRadioButton::toggled, this, [this](bool scelto) {
        if (scelto)
            elencoVegetariane_Click();
    });
    connect(ui->Griglia->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &Elenco::Griglia_SelChange);
    connect(ui->Command1, &QPushButton::clicked, this, &Elenco::stampaScelte_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &Elenco::stampaTutte_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Elenco::eliminaScelte_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Elenco::chiudi_Click);
    connect(ui->Command5, &QPushButton::clicked, this, &Elenco::esporta_Click);
    connect(ui->Command6, &QPushButton::clicked, this, &Elenco::allaSpesa_Click);
    TrascinaRicette::abilita(ui->Griglia, [this] { return ricetteSelezionate(); });

    Form_Load();
}

Elenco::~Elenco() = default;

void Elenco::Form_Load()
{
    QTableView *g = ui->Griglia;
    preparaGriglia(g, QAbstractItemView::ContiguousSelection, 6);
    g->horizontalHeader()->hide();
    // Rows of one height: a list of thousands is laid out without measuring each.
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->horizontalHeader()->setSectionResizeMode(RigheElenco::Nome, QHeaderView::Stretch);
    g->setColumnHidden(RigheElenco::Chiave, true); // the key is read, never shown
    g->setWordWrap(false);
    for (DataSource *ds : {Data1, Data2, Data3, Data4, Data5})
        ds->setDatabaseName(Applicazione::RicettarioCorrente);
    ui->Command1->unsetCursor();
}

void Elenco::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (!std::exchange(aperta_, true))
        Form_Activate();
}

void Elenco::Form_Activate()
{
    errore_ = {};
    ui->Lista->setEnabled(true);
    if (Data1->Refresh())
        prova([this] {
            Recordset &rs = *Data1->Recordset();
            for (int p = 0; p < rs.RecordCount(); ++p)
                ui->Lista->addItem(rs.valoreAlPosto(p, CategoriaAlimentare).toString(),
                                   rs.valoreAlPosto(p, IDCategoria));
        });
    elencaPrimaCategoria();
}

// The first category's recipes by name. Each step that fails is skipped and the failure said by
// its number, unless it only found no current row.
void Elenco::elencaPrimaCategoria()
{
    if (Data1->Recordset())
        prova([this] { Data1->Recordset()->MoveFirst(); });
    ui->Lista->setCurrentIndex(ui->Lista->count() > 0 ? 0 : -1);
    elenca(ui->Lista->count() > 0 ? perCategoria(ui->Lista->itemData(0)) + Origine::OrdinePerNome
                                  : QString());
    segnalaNumero();
}

void Elenco::categoria_Click()
{
    errore_ = {};
    elenca(perCategoria(ui->Lista->currentData()));
    segnalaDescrizione();
}

void Elenco::elencoPerCategoria_Click()
{
    errore_ = {};
    ui->Lista->setEnabled(true);
    elencaPrimaCategoria();
}

void Elenco::elencoAlfabetico_Click()
{
    elencaSenzaCategoria(Origine::ElencoAlfabetico);
}

void Elenco::elencoVegetariane_Click()
{
    elencaSenzaCategoria(Origine::ElencoVegetariane);
}

// The category is no filter of these lists: the combo goes back to Data1's row, greyed.
void Elenco::elencaSenzaCategoria(const QString &origine)
{
    errore_ = {};
    const Recordset *categorie = Data1->Recordset();
    ui->Lista->setCurrentIndex(categorie ? categorie->AbsolutePosition() : -1);
    ui->Lista->setEnabled(false);
    elenca(origine);
    segnalaDescrizione();
}

void Elenco::elenca(const QString &origine)
{
    Recordset *rs = nullptr;
    if (!origine.isEmpty()) {
        Data2->setRecordSource(origine);
        if (Data2->Refresh())
            rs = Data2->Recordset();
    }
    mostraRighe(rs, QString());
}

void Elenco::mostraRighe(Recordset *rs, const QString &chiaveCorrente)
{
    QList<RigheElenco::Riga> lette;
    const int conteggio = rs ? rs->RecordCount() : 0;
    if (rs)
        // One pass over the set, which reads its rows in blocks.
        prova([&] {
            lette.reserve(conteggio);
            for (int p = 0; p < conteggio; ++p)
                lette.append({rs->valoreAlPosto(p, RigheElenco::Nome).toString(),
                              rs->valoreAlPosto(p, RigheElenco::Chiave).toString()});
        });
    righe_->sostituisci(std::move(lette));
    ui->Label4->setText(QString::number(conteggio));
    int corrente = 0;
    for (int r = 0; !chiaveCorrente.isEmpty() && r < righe_->rowCount(); ++r)
        if (righe_->chiave(r) == chiaveCorrente)
            corrente = r;
    if (righe_->rowCount() > 0)
        ui->Griglia->selectionModel()->setCurrentIndex(righe_->index(corrente, 0),
                                                       QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
    Griglia_SelChange();
    ui->Griglia->viewport()->update();
}

// The cook coming back from another program, which may have written the book: the list shows
// what the book holds now. Looked at from the event loop itself, never while a command of the
// window is under way (a dialog of its own closing activates the window too).
void Elenco::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && aperta_)
        QTimer::singleShot(0, this, &Elenco::seguiIlLibro);
}

// A book that cannot be read leaves the list as it was: the next command says why.
void Elenco::seguiIlLibro()
{
    Recordset *rs = Data2->Recordset();
    if (!rs || eliminando_ || QThread::currentThread()->loopLevel() > 1 ||
        QApplication::activeModalWidget())
        return;
    bool cambiato = false;
    if (prova([&] { cambiato = rs->seguiIlLibro(); }) && cambiato)
        mostraRighe(rs, righe_->chiave(ui->Griglia->currentIndex().row()));
    errore_ = {};
}

void Elenco::Griglia_SelChange()
{
    if (!eliminando_)
        ui->Label2->setText(righe_->nome(ui->Griglia->currentIndex().row()));
}

std::pair<int, int> Elenco::selezione() const
{
    const QItemSelection scelte = ui->Griglia->selectionModel()->selection();
    if (scelte.isEmpty()) {
        const int corrente = qMax(0, ui->Griglia->currentIndex().row());
        return {corrente, corrente};
    }
    int prima = scelte.first().top(), ultima = scelte.first().bottom();
    for (const QItemSelectionRange &r : scelte) {
        prima = qMin(prima, r.top());
        ultima = qMax(ultima, r.bottom());
    }
    return {prima, ultima};
}

Recordset &Elenco::insieme(DataSource *ds, bool riapri)
{
    if ((riapri || !ds->Recordset()) && !ds->Refresh())
        throw EngineError(errore_.numero);
    return *ds->Recordset();
}

void Elenco::eliminaScelte_Click()
{
    if (dialogs().messageBox("Siete sicuri di voler cancellare questa/e ricetta/e?", Dialogs::SiNo,
                             "Attenzione", Dialogs::NessunaIcona) != Dialogs::Si)
        return;
    const auto [prima, ultima] = selezione();
    if (righe_->rowCount() == 0 || !Data2->Recordset())
        return;
    errore_ = {};
    if (!prova([&] { elimina(prima, ultima); })) {
        segnalaDescrizione();
        return;
    }
    // The list is not read again: its rows go one by one, and a grid keeps one row, blanked.
    const QScopedValueRollback fermo(eliminando_, true);
    for (int riga = ultima; riga >= prima; --riga)
        if (righe_->rowCount() > 1)
            righe_->togli(riga);
        else
            righe_->svuota(riga);
}

void Elenco::elimina(int prima, int ultima)
{
    Recordset &rs = *Data2->Recordset();
    int rimaste = rs.RecordCount(); // the set counts its rows without a walk
    for (int riga = prima; riga <= ultima; ++riga) {
        // The blank row a whole deletion leaves names no recipe.
        const QString chiave = righe_->chiave(riga);
        if (chiave.isEmpty())
            continue;
        rs.FindFirst(Criterio::PerRicetta + chiave);
        if (rs.NoMatch())
            continue;
        if (rimaste == 1) {
            // The last listed recipe makes way for a recipe with a blank name, stored first at
            // the end of the set; the one to delete is then the first row.
            rs.AddNew();
            rs.setValue(RigheElenco::Nome, QStringLiteral(" "));
            rs.Update();
            rs.MoveFirst();
            rs.Delete();
            rs.MoveNext();
        } else {
            --rimaste;
            rs.Delete();
            rs.MoveNext();
            if (rs.Eof())
                rs.MoveLast();
        }
    }
}

void Elenco::chiudi_Click()
{
    close();
}

void Elenco::Data_Error(DataSource *ds, int DataErr, int &Response)
{
    errore_ = {DataErr, ds->descrizioneErrore()};
    Response = 0; // the handler that ran the operation says it
}

bool Elenco::prova(const std::function<void()> &passo)
{
    try {
        passo();
        return true;
    } catch (const EngineError &e) {
        errore_ = {e.number(), e.description()};
        return false;
    }
}

void Elenco::segnalaNumero()
{
    if (errore_.numero != 0 && errore_.numero != EngineError::NessunRecordCorrente)
        dialogs().messageBox("Errore n° " + QString::number(errore_.numero), Dialogs::SoloOK,
                             "Errore!", Dialogs::Critica);
}

void Elenco::segnalaDescrizione()
{
    if (errore_.numero != 0)
        dialogs().messageBox(errore_.descrizione, Dialogs::SoloOK, "Errore!", Dialogs::Critica);
}

// Typed keys are not a way to choose a category.
bool Elenco::eventFilter(QObject *o, QEvent *e)
{
    if (o == ui->Lista && e->type() == QEvent::KeyPress) {
        const QString t = static_cast<QKeyEvent *>(e)->text();
        if (!t.isEmpty() && t.at(0).isPrint())
            return true;
    }
    return QWidget::eventFilter(o, e);
}
