#include "import/importazione.h"
#include "ui_importazione.h"

#include "import/finestraimportazione.h"
#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "storage/recordset.h"
#include "storage/schema.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <utility>

using namespace Applicazione;

namespace {

const QString Completata = QStringLiteral("Importazione completata");
const QString FineImportazione = QStringLiteral("Fine importazione");
const QString TitoloRicettaEsistente = QStringLiteral("Attenzione! Ricetta già esistente");
const QString TitoloRicettaSimile = QStringLiteral("Attenzione! Esiste già una ricetta simile");
const QString TitoloNuovoNome = QStringLiteral("Assegnazione nuovo nome alla ricetta");

// The name of a book as the captions show it: no folder, no ".mdb".
QString nomeDelLibro(const QString &percorso)
{
    const qsizetype barra = qMax(percorso.lastIndexOf('\\'), percorso.lastIndexOf('/'));
    return percorso.mid(barra + 1).chopped(qMin<qsizetype>(4, percorso.size() - barra - 1));
}

} // namespace

Importazione::Importazione(QWidget *parent)
    : QWidget(parent, Qt::Window), Ricette1(new DataSource(this, "Ricette1", Schema::Ricette)),
      Categorie1(new DataSource(this, "Categorie1", Schema::CategorieAlimentari)),
      Ingr1(new DataSource(this, "Ingr1", Schema::Ingredienti)),
      Ingredienti1(new DataSource(this, "Ingredienti1", Schema::IngredientiRicetta)),
      Ricette2(new DataSource(this, "Ricette2", Schema::Ricette)),
      Categorie2(new DataSource(this, "Categorie2", Schema::CategorieAlimentari)),
      Ingr2(new DataSource(this, "Ingr2", Schema::Ingredienti)),
      Ingredienti2(new DataSource(this, "Ingredienti2", Schema::IngredientiRicetta)),
      IngrRic(new DataSource(this, "IngrRic", Schema::IngredientiRicetta)),
      ui(std::make_unique<Ui::Importazione>())
{
    ui->setupUi(this);
    Categorie2->bind(ui->Cat, "CategoriaAlimentare", "text");
    connect(ui->impRicette, &QComboBox::activated, this, &Importazione::impRicette_Click);
    ui->impRicette->installEventFilter(this);
    // A list over the box, current entry under the pointer, makes a click pick the wrong recipe.
    ui->impRicette->setStyleSheet("QComboBox { combobox-popup: 0; }");
    connect(ui->Command1, &QPushButton::clicked, this, &Importazione::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Importazione::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Importazione::Command3_Click);
    connect(ui->Annulla, &QPushButton::clicked, this, &Importazione::Annulla_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &Importazione::Command4_Click);
    Form_Load();
}

Importazione::~Importazione() = default;

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

    const QString nome = nomeDelLibro(RicettarioDaImportare);
    ui->Frame1->setTitle("Ricettario da Importare: " + nome);
    setWindowTitle("Importazione di " + nome);

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

    ui->Label1->setText(nomeDelLibro(RicettarioCorrente));
    ui->Label1->setToolTip(RicettarioCorrente);
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
    if (SceltaInAttesa != 0) {
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
    if (o == ui->impRicette && e->type() == QEvent::FocusIn)
        comando([this] { impRicette_GotFocus(); });
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
    Recordset &righe = rs(Ingredienti2);
    for (const int p : righeSorgente(ricetta)) {
        const qint64 chiave = righe.valoreAlPosto(p, 2).toLongLong();
        ui->ListaIngredienti->addItem(ingredienteSorgente(chiave), chiave);
    }
    ui->ListaIngredienti->setCurrentIndex(ui->ListaIngredienti->count() > 0 ? 0 : -1);
}

void Importazione::MostraCategoria()
{
    Recordset &categorie = rs(Categorie2);
    if (categorie.RecordCount() > 0)
        categorie.MoveFirst();
    const QVariant c = rs(Ricette2).value("IdcategoriaAlimentare");
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
    // A category the source book does not hold is shown as none, and mapped to none.
    if (!categoriaTrovata_)
        ui->Cat->clear();
}

void Importazione::ConfrontaNomi()
{
    switch (confrontaNomi(NomeDaImportare, NomeEsistente)) {
    case Somiglianza::Nessuna:
        Esito = Prosegui;
        break;
    case Somiglianza::Identico:
        Esito = Identico;
        break;
    case Somiglianza::Simile:
        Esito = Simile;
        NomeSimile = NomeEsistente;
        break;
    case Somiglianza::Indefinito:
        break;
    }
}

void Importazione::Command3_Click()
{
    comando(
        [this] {
            setCursor(Qt::WaitCursor);
            Esito = Prosegui;
            SceltaInAttesa = 0;
            ModoImportazione = 0;
            if (!rs(Ricette2).haRigaCorrente()) {
                unsetCursor();
                return; // a source book without recipes
            }
            ImportaRicetta();
            if (Esito == Interrotto)
                Ripristina();
        },
        true);
}

void Importazione::ImportaRicetta()
{
    NomeDaImportare.clear();
    NomeEsistente.clear();
    bool saltata = false;
    NomeDaImportare = rs(Ricette2).value("Nomericetta").toString();
    Esito = Prosegui;

    // The first identical or similar recipe of the current book, in table order, decides.
    Somiglianza s;
    const int riga = nomi(nomiRicette_, Ricette1).primoSimile(NomeDaImportare, s);
    if (riga >= 0) {
        NomeEsistente = nomiRicette_.voce(riga).nome;
        ConfrontaNomi();
    }

    if (Esito == Identico) {
        NuovoNome.clear();
        const Dialogs::Risposta r = dialogs().messageBox(
            "La ricetta che si vuol importare esiste già (" + NomeDaImportare + ")." +
                "\r\nLa vuoi aggiungere ugualmente al tuo ricettario?",
            Dialogs::SiNoAnnulla, TitoloRicettaEsistente, Dialogs::NessunaIcona);
        if (r == Dialogs::Si) {
            NuovoNome = dialogs().inputBox(
                "Si consiglia di rinominare la ricetta che si sta importando.\r\nInserisci un "
                "nuovo nome",
                TitoloNuovoNome, NomeDaImportare);
            if (!NuovoNome.isEmpty()) {
                NomeDaImportare = NuovoNome;
                Esito = Prosegui;
            } else {
                Esito = Interrotto;
            }
        } else {
            nonAggiunta(r, saltata);
        }
        NuovoNome = NomeDaImportare;
    }

    if (Esito == Simile) {
        Esito = Prosegui;
        const Dialogs::Risposta r =
            dialogs().messageBox(righe({"La ricetta che si vuol importare ha un nome",
                                        "molto simile ad una ricetta già esistente.",
                                        "La vuoi aggiungere ugualmente al tuo ricettario?",
                                        "Ricetta da importare : " + NomeDaImportare,
                                        "Ricetta presente     : " + NomeSimile}),
                                 Dialogs::SiNoAnnulla, TitoloRicettaSimile, Dialogs::NessunaIcona);
        if (r == Dialogs::Si) {
            const Dialogs::Risposta rinomina =
                dialogs().messageBox("La vuoi rinominare ?", Dialogs::SiNoAnnulla,
                                     TitoloRicettaSimile, Dialogs::NessunaIcona);
            if (rinomina == Dialogs::Si) {
                const QString nuovo = dialogs().inputBox("Inserisci il nuovo nome della ricetta.",
                                                         TitoloNuovoNome, NomeDaImportare);
                if (!nuovo.isEmpty())
                    NomeDaImportare = nuovo;
            } else if (rinomina != Dialogs::No) {
                Esito = Interrotto;
            }
        } else {
            nonAggiunta(r, saltata);
        }
    }

    if (Esito != Interrotto && !saltata) {
        NuovoNome = NomeDaImportare;
        CopiaRicetta(NuovoNome);
        if (ModoImportazione != 2 && SceltaInAttesa == 0 && Esito != Interrotto) {
            completata_ = true;
            Ricette1->Refresh();
            unsetCursor();
        }
    }
    if (Esito == Interrotto) {
        SceltaInAttesa = 0;
        interruzione();
    }
}

void Importazione::nonAggiunta(Dialogs::Risposta r, bool &saltata)
{
    // No skips the recipe in a run and interrupts a single import; Cancel always interrupts.
    if (r == Dialogs::No && ModoImportazione == 2)
        saltata = true;
    else
        Esito = Interrotto;
}

void Importazione::interruzione()
{
    interruzioneMostrata_ = true;
    dialogs().messageBox("Importazione interrotta", Dialogs::SoloOK, "Importazione non eseguita",
                         Dialogs::NessunaIcona);
    unsetCursor();
}

void Importazione::Command1_Click()
{
    comando(
        [this] {
            setCursor(Qt::WaitCursor);
            CategoriaMostrata = ui->Cat->text();
            Recordset &r = rs(Ricette2);
            if (r.RecordCount() > 0)
                r.MoveFirst();
            ModoImportazione = 2;
            cicloImportaTutto();
            if (Esito != Interrotto && SceltaInAttesa == 0 && ModoImportazione != 1) {
                completata_ = true;
                unsetCursor();
            }
            if (ModoImportazione != 1) {
                ui->Cat->setText(CategoriaMostrata);
                if (r.RecordCount() > 0)
                    r.MoveFirst();
            }
            if (Esito == Interrotto)
                Ripristina();
            Esito = Prosegui;
        },
        true);
}

void Importazione::cicloImportaTutto()
{
    Recordset &r = rs(Ricette2);
    while (!r.Eof() && r.RecordCount() > 0 && Esito != Interrotto) {
        MostraCategoria();
        SceltaInAttesa = 0;
        ImportaRicetta();
        if (Esito == Interrotto)
            return;
        if (SceltaInAttesa != 0) {
            ModoImportazione = 1; // the run waits here for the choice
            return;
        }
        r.MoveNext();
    }
}

void Importazione::chiediScelta(int tipo)
{
    SceltaImportazione = tipo;
    setEnabled(false);
    sceltaRichiesta_ = true;
}

void Importazione::ritornoDallaScelta()
{
    const int tipo = SceltaInAttesa;
    interruzioneMostrata_ = false;
    SceltaInAttesa = 0;
    if (SceltaImportazione == 0) {
        Esito = Interrotto;
    } else if (tipo == 1) {
        AggiungiRicetta(SceltaImportazione, NuovoNome);
        if (Esito != Interrotto) {
            rigaSorgente_ = 0;
            CopiaIngredienti();
        }
    } else {
        aggiungiRiga(SceltaImportazione);
        if (rigaSorgente_ < righeSorgente(IDRicettaImportata).size() && Esito != Interrotto) {
            ++rigaSorgente_;
            CopiaIngredienti();
        }
    }
    if (SceltaInAttesa == 2) {
        chiediScelta(2); // the same recipe goes on after the next choice
    } else {
        if (Esito != Interrotto && ModoImportazione == 1) {
            ModoImportazione = 2;
            Recordset &r = rs(Ricette2);
            r.MoveNext();
            cicloImportaTutto();
            if (ModoImportazione != 1) {
                if (r.Eof() && Esito != Interrotto && SceltaInAttesa == 0) {
                    completata_ = true;
                    unsetCursor();
                    Ricette1->Refresh();
                    riempiListaRicette();
                }
                if (r.RecordCount() > 0)
                    r.MoveFirst();
            }
        }
        if (Esito == Interrotto) {
            SceltaInAttesa = 0;
            if (!interruzioneMostrata_)
                interruzione();
        }
    }
    ui->Cat->setText(CategoriaMostrata);
    if (Esito == Interrotto)
        Ripristina();
}

void Importazione::comando(const std::function<void()> &lavoro, bool scrive)
{
    try {
        // One transaction for a button's writes: quicker, and a crash loses all or nothing.
        if (scrive && !lavoro_ && caricata_ && libroCorrente() && libroCorrente()->aperto())
            lavoro_.emplace(*libroCorrente());
        lavoro();
        while (sceltaRichiesta_) {
            sceltaRichiesta_ = false;
            {
                FinestraImportazione scelta(this);
                scelta.exec();
            }
            setEnabled(true);
            activateWindow();
            Form_Activate();
        }
        if (lavoro_) {
            lavoro_->commit();
            lavoro_.reset();
        }
        // Said only now: until the commit a full disk or a reader's lock can still undo it.
        if (std::exchange(completata_, false))
            dialogs().messageBox(Completata, Dialogs::SoloOK, FineImportazione,
                                 Dialogs::NessunaIcona);
    } catch (const EngineError &e) {
        // What the import could not read or write ends it, and the book goes back as it was.
        sceltaRichiesta_ = completata_ = false;
        setEnabled(true);
        SceltaInAttesa = 0;
        Esito = Prosegui;
        QString ripristino;
        try {
            Ripristina();
        } catch (const EngineError &e2) {
            ripristino = e2.description();
        }
        unsetCursor();
        QStringList testo{e.description()};
        if (scrive)
            testo = {"L'importazione non è stata eseguita:", e.description(),
                     ripristino.isEmpty() ? "Il ricettario corrente è tornato com'era "
                                            "all'apertura di questa finestra."
                                          : "Non è stato possibile rimettere la copia di "
                                            "sicurezza:"};
        if (!ripristino.isEmpty())
            testo << ripristino;
        messaggioErrore(righe(testo));
    }
}

void Importazione::messaggioErrore(const QString &testo)
{
    dialogs().messageBox(testo, Dialogs::SoloOK, "Errore!", Dialogs::Critica);
}

QList<DataSource *> Importazione::sorgenti() const
{
    return {Ricette1,   Categorie1,   Ingredienti1, Ingr1, Ricette2,
            Categorie2, Ingredienti2, IngrRic,      Ingr2};
}

void Importazione::rimettiCopia()
{
    lavoro_.reset(); // rolled back: the copy replaces it anyway
    for (DataSource *ds : sorgenti())
        if (const std::shared_ptr<Database> d = ds->Database())
            d->Close();
    Database::ripristina(CopiaDiSicurezza, RicettarioCorrente);
}

void Importazione::Ripristina()
{
    rimettiCopia();
    dimenticaNomi();
    for (DataSource *ds : sorgenti())
        ds->Refresh();
}

void Importazione::Annulla_Click()
{
    try {
        rimettiCopia();
    } catch (const EngineError &e) {
        messaggioErrore(e.description());
        return; // the window stays: the user can try again or close it
    }
    close();
}

void Importazione::Command2_Click()
{
    close();
}

void Importazione::Command4_Click()
{
    dialogs().help("Pentolone.HLP", Dialogs::Argomento, 3);
}

void Importazione::closeEvent(QCloseEvent *e)
{
    unsetCursor();
    e->accept();
}
