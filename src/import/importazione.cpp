// The import window: its books opened, the source recipes listed, the recipe shown.

#include "import/importazione.h"
#include "ui_importazione.h"

#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "storage/recordset.h"
#include "storage/schema.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"
#include "toolkit/guida.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QFontMetrics>

using namespace Applicazione;

Importazione::Importazione(const DaImportare &origine, QWidget *parent)
    : QWidget(parent, Qt::Window), Ricette1(new DataSource(this, "Ricette1", Schema::Ricette)),
      Categorie1(new DataSource(this, "Categorie1", Schema::CategorieAlimentari)),
      Ingr1(new DataSource(this, "Ingr1", Schema::Ingredienti)),
      Ingredienti1(new DataSource(this, "Ingredienti1", Schema::IngredientiRicetta)),
      Ricette2(new DataSource(this, "Ricette2", Schema::Ricette)),
      Categorie2(new DataSource(this, "Categorie2", Schema::CategorieAlimentari)),
      Ingr2(new DataSource(this, "Ingr2", Schema::Ingredienti)),
      IngrRic(new DataSource(this, "IngrRic", Schema::IngredientiRicetta)),
      ui(std::make_unique<Ui::Importazione>()), origine_(origine)
{
    ui->setupUi(this);
    connect(ui->impRicette, &QComboBox::activated, this, &Importazione::impRicette_Click);
    ui->impRicette->installEventFilter(this);
    // A list over the box, current entry under the pointer, makes a click pick the wrong recipe.
    ui->impRicette->setStyleSheet("QComboBox { combobox-popup: 0; }");
    connect(ui->Command1, &QPushButton::clicked, this, &Importazione::cmdImportaTutto_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Importazione::cmdChiudi_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Importazione::cmdImportaRicetta_Click);
    connect(ui->Annulla, &QPushButton::clicked, this, &Importazione::Annulla_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &Importazione::cmdAiuto_Click);
    Form_Load();
}

Importazione::~Importazione() = default;

QString Importazione::accorcia(const QString &testo, const QFont &carattere)
{
    constexpr int Caratteri = 30; // the room the window keeps for a book's name
    const QFontMetrics misura(carattere);
    return misura.elidedText(testo, Qt::ElideMiddle, misura.averageCharWidth() * Caratteri);
}

QString Importazione::sorgenteNonValida(const QString &percorso)
{
    try {
        Database::apri(percorso, Database::Modo::SolaLettura);
    } catch (const EngineError &e) {
        return e.description();
    }
    return {};
}

Recordset &Importazione::rs(DataSource *ds) const
{
    if (!ds->Recordset())
        throw EngineError(EngineError::NessunRecordCorrente);
    return *ds->Recordset();
}

std::shared_ptr<Database> Importazione::libroCorrente() const
{
    return Ricette1->Database();
}

void Importazione::Form_Load()
{
    prendiCopia();
    const QString nome =
        origine_.nome.isEmpty() ? nomeDelLibro(RicettarioDaImportare) : origine_.nome;
    setWindowTitle("Importazione di " + nome);
    // However long the name or address, the window keeps its width: cut in the middle, whole in
    // the tooltip, and an "&" is itself, not a shortcut.
    QString titolo = "Ricettario da Importare: " + accorcia(nome, ui->Frame1->font());
    ui->Frame1->setTitle(titolo.replace('&', QStringLiteral("&&")));
    ui->Frame1->setToolTip(nome);
    apriLibri();
    ui->Label1->setText(accorcia(nomeDelLibro(RicettarioCorrente), ui->Label1->font()));
    ui->Label1->setToolTip(RicettarioCorrente);
}

void Importazione::prendiCopia()
{
    CopiaDiSicurezza = RicettarioCorrente.chopped(qMin<qsizetype>(3, RicettarioCorrente.size())) +
                       QStringLiteral("old");
    try {
        Database::copiaDiSicurezza(RicettarioCorrente, CopiaDiSicurezza);
        caricata_ = true;
    } catch (const EngineError &e) {
        dialogs().messageBox(
            righe({"Non è possibile creare la copia di sicurezza del ricettario corrente:",
                   CopiaDiSicurezza, e.description(), "", "Senza la copia non si può importare."}),
            Dialogs::SoloOK, "Errore di importazione", Dialogs::Critica);
        for (QWidget *w : {ui->Command1, ui->Command3, ui->Annulla})
            w->setEnabled(false);
    }
}

void Importazione::apriLibri()
{
    int errore = 0;
    for (DataSource *ds : sorgenti()) {
        const bool corrente =
            ds == Ricette1 || ds == Categorie1 || ds == Ingredienti1 || ds == Ingr1;
        ds->setDatabaseName(corrente ? RicettarioCorrente : RicettarioDaImportare);
        ds->setSolaLettura(!corrente);
        // The opening's errors are said once, by number, below.
        const auto c = connect(
            ds, &DataSource::Error, this,
            [&errore](int numero, int &risposta) {
                if (errore == 0)
                    errore = numero;
                risposta = 0;
            },
            Qt::DirectConnection);
        ds->Refresh();
        disconnect(c);
    }
    if (errore != 0 && errore != EngineError::NessunRecordCorrente)
        dialogs().messageBox("Errore n° " + QString::number(errore), Dialogs::SoloOK, "Errore!",
                             Dialogs::Critica);
}

void Importazione::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (aperta_)
        return;
    aperta_ = true;
    comando([this] { Form_Activate(); });
}

void Importazione::Form_Activate()
{
    if (sceltaInAttesa_ != Scelta::Nessuna) {
        ritornoDallaScelta();
        return;
    }
    riempiListaRicette();
    ui->impRicette->clear();
    if (Recordset *r = Ricette2->Recordset())
        for (int p = 0; p < r->RecordCount(); ++p)
            ui->impRicette->addItem(r->valoreAlPosto(p, Schema::NomeRicetta).toString(),
                                    r->valoreAlPosto(p, Schema::IDRicetta));
    if (Ricette2->Recordset() && Ricette2->Recordset()->RecordCount() > 0) {
        rs(Ricette2).MoveFirst();
        CaricaIngredienti();
        ui->impRicette->setCurrentIndex(0);
        rs(Ricette2).MoveFirst();
        MostraCategoria();
    }
}

void Importazione::riempiListaRicette()
{
    ui->ListaRicette->clear();
    if (Recordset *r = Ricette1->Recordset())
        for (int p = 0; p < r->RecordCount(); ++p)
            ui->ListaRicette->addItem(r->valoreAlPosto(p, Schema::NomeRicetta).toString(),
                                      r->valoreAlPosto(p, Schema::IDRicetta));
    ui->ListaRicette->setCurrentIndex(ui->ListaRicette->count() > 0 ? 0 : -1);
}

bool Importazione::eventFilter(QObject *o, QEvent *e)
{
    // The focus its own list gives back when it closes, or the window's when the cook comes
    // back to it, is no move into the box: the recipe picked there stays the one to import.
    if (o == ui->impRicette && e->type() == QEvent::FocusIn) {
        const Qt::FocusReason perche = static_cast<QFocusEvent *>(e)->reason();
        if (perche != Qt::PopupFocusReason && perche != Qt::ActiveWindowFocusReason)
            comando([this] { impRicette_GotFocus(); });
    }
    return QWidget::eventFilter(o, e);
}

void Importazione::impRicette_Click()
{
    comando([this] {
        const QVariant chiave = ui->impRicette->currentData();
        if (!chiave.isValid())
            return;
        Recordset &r = rs(Ricette2);
        if (r.haRigaCorrente() && r.value(Schema::IDRicetta) == chiave)
            return;
        r.FindFirst(Schema::Criterio::PerRicetta + chiave.toString());
        MostraCategoria();
        ui->ListaIngredienti->clear();
        CaricaIngredienti();
    });
}

void Importazione::impRicette_GotFocus()
{
    if (Recordset *r = Ricette2->Recordset(); r && r->RecordCount() > 0)
        r->MoveFirst();
}

void Importazione::CaricaIngredienti()
{
    Recordset &r = rs(Ricette2);
    if (!r.haRigaCorrente())
        return;
    const qint64 ricetta = r.value(Schema::IDRicetta).toLongLong();
    Recordset &righe = rs(IngrRic);
    for (const int p : righeSorgente(ricetta)) {
        const qint64 chiave = righe.valoreAlPosto(p, Schema::RigaIngrediente).toLongLong();
        ui->ListaIngredienti->addItem(
            memoria_.ingredienteSorgente(chiave, rs(Ingr2)).value_or(QString()), chiave);
    }
    ui->ListaIngredienti->setCurrentIndex(ui->ListaIngredienti->count() > 0 ? 0 : -1);
}

void Importazione::MostraCategoria()
{
    posizionaCategoria();
    // Shown, never bound: the source book is only read.
    ui->Cat->setText(categoriaTrovata_
                         ? rs(Categorie2).value(Schema::CategoriaAlimentare).toString()
                         : QString());
}

void Importazione::posizionaCategoria()
{
    Recordset &categorie = rs(Categorie2);
    if (categorie.RecordCount() > 0)
        categorie.MoveFirst();
    const QVariant c = rs(Ricette2).value(Schema::IDCategoriaAlimentare);
    const QString testo = c.toString();
    categoriaTrovata_ = false;
    if (!c.isNull() && !testo.isEmpty() && testo != QLatin1String(" ") &&
        categorie.RecordCount() > 0) {
        bool numero = false;
        testo.toLongLong(&numero);
        if (numero) {
            categorie.FindFirst(Schema::Criterio::PerCategoria + testo);
            categoriaTrovata_ = !categorie.NoMatch();
        }
    }
}

void Importazione::messaggioErrore(const QString &testo)
{
    dialogs().messageBox(testo, Dialogs::SoloOK, "Errore!", Dialogs::Critica);
}

QList<DataSource *> Importazione::sorgenti() const
{
    return {Ricette1, Categorie1, Ingredienti1, Ingr1, Ricette2, Categorie2, IngrRic, Ingr2};
}

void Importazione::cmdChiudi_Click()
{
    close();
}

void Importazione::cmdAiuto_Click()
{
    // The page of what the recipes come from: a book, a web page, a MealMaster file.
    const int argomento = origine_.provenienza == Provenienza::PaginaWeb    ? Guida::Web
                          : origine_.provenienza == Provenienza::MealMaster ? Guida::MealMaster
                                                                            : Guida::Importazione;
    dialogs().help("Pentolone.HLP", Dialogs::Argomento, argomento);
}

void Importazione::closeEvent(QCloseEvent *e)
{
    unsetCursor();
    e->accept();
}
