// The recipe editor window: its data sources, the opening fill, the moves between recipes,
// the category combo and the rules of the recipe's boxes.
#include "editor/ricette.h"
#include "editor/conversioneporzioni.h"
#include "editor/righeingredienti.h"
#include "editor/tasti.h"
#include "ui_ricette.h"

#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"
#include "toolkit/guida.h"
#include "toolkit/maiuscole.h"

#include <QCloseEvent>
#include <QScreen>
#include <QToolButton>

using namespace Applicazione;

Ricette::Ricette(QWidget *parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::Ricette>()),
      ricetta_(new DataSource(this, "datPrimaryRS", Schema::Origine::RicettePerNome)),
      listaRicette_(new DataSource(this, "ListaR", Schema::Origine::RicettePerNome)),
      categorie_(new DataSource(this, "Data1", Schema::CategorieAlimentari)),
      ingredienti_(new DataSource(this, "Data2", Schema::Origine::IngredientiPerNome)),
      righe_(new RigheIngredienti(
          this, *ui, [this](const QString &chiave) { return nomeIngrediente(chiave); }))
{
    ui->setupUi(this);
    setWindowTitle("Inserimento Ricette - " + IndirizzoWeb);
    collegaCaselle();
    conversione_ =
        new ConversionePorzioni(this, *ui, *righe_, ricetta_, txtFields[Schema::NumeroPorzioni]);
    collegaSorgenti();
    collegaListe();
    collegaPulsanti();
    Form_Load();
    adattaAlloSchermo();
}

Ricette::~Ricette() = default;

QString Ricette::testo(int Index) const
{
    if (txtMemo[Index])
        return txtMemo[Index]->toPlainText();
    return txtFields[Index] ? txtFields[Index]->text() : QString();
}

void Ricette::setTesto(int Index, const QString &t)
{
    if (txtMemo[Index])
        txtMemo[Index]->setPlainText(t);
    else if (txtFields[Index])
        txtFields[Index]->setText(t);
}

void Ricette::Form_Load()
{
    ui->cmdStampa->unsetCursor();
    for (DataSource *ds : {ricetta_, listaRicette_, categorie_, ingredienti_, righe_->sorgente()})
        ds->setDatabaseName(RicettarioCorrente);
    righe_->preparaGriglia();
}

void Ricette::adattaAlloSchermo()
{
    righe_->adattaGriglia();
    // Portions and calories are a few digits: their row's room goes to the utensils.
    for (int i : {Schema::NumeroPorzioni, Schema::CaloriePerPorzione})
        txtFields[i]->setMaximumWidth(
            txtFields[i]->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    // The navigation bar stands beside the name but keeps its place in the Tab order: after the
    // ingredient line's controls, before the window's buttons.
    QWidget *prima = ui->Check1;
    for (QToolButton *b : ui->datPrimaryRS->findChildren<QToolButton *>()) {
        setTabOrder(prima, b);
        prima = b;
    }
    // A screen that cannot hold the window as drawn, its frame included, is given whole to it.
    const QSize cornice(16, 48);
    const QSize schermo = screen()->availableSize();
    if (width() + cornice.width() > schermo.width() ||
        height() + cornice.height() > schermo.height())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void Ricette::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (aperta_)
        return;
    aperta_ = true;
    // The sources open with the window; a book that cannot be opened is said once, by the
    // navigation bar's source, and the window stays empty and usable.
    if (!ricetta_->Refresh()) {
        abilitaRicetta();
        attivata_ = true;
        return;
    }
    categorie_->Refresh(); // listaRicette_ opens when the recipe list is filled
    ingredienti_->Refresh();
    Form_Activate();
}

void Ricette::Form_Activate()
{
    altruiVisti_ = cambiAltrui();
    CaricaCategorie();
    CaricaListaRicette();
    ingredienti_->MoveFirst();
    CaricaListaIngredienti();
    ricetta_->MoveFirst(); // the move also marks the recipe in the list
    sincronizzaCategoria(true);
    attivata_ = true;
    righe_->carica();
    conversione_->ricorda();
}

// Finds the recipe's category among the categories and shows it in the combo; a key that names
// no category is said with the short message at opening, with the long one afterwards.
void Ricette::sincronizzaCategoria(bool messaggioBreve)
{
    const QString chiave = testo(Schema::IDCategoriaAlimentare).trimmed();
    if (chiave.isEmpty()) {
        ui->Lista->setCurrentIndex(-1); // no category: none shown
        return;
    }
    bool trovata = false;
    int posizione = -1;
    categorie_->esegui([&](Recordset &rs) {
        rs.FindFirst(Schema::Criterio::PerCategoria + chiave);
        trovata = !rs.NoMatch();
        posizione = trovata ? rs.AbsolutePosition() : -1;
    });
    if (!trovata) {
        const QString testo =
            messaggioBreve
                ? QStringLiteral("La categoria alimentare impostata non è più presente o è stata "
                                 "modificata")
                : righe({"La categoria alimentare della ricetta richiesta",
                         "non è più presente o è stata modificata.",
                         "Si consiglia di scegliere l'adeguata",
                         "categoria Alimentare tra quelle disponibili",
                         "o di inserirne una nuova dalla",
                         "procedura Categorie alimentari del Menu principale."});
        dialogs().messageBox(testo, Dialogs::SoloOK, "Attenzione", Dialogs::Critica);
    }
    ui->Lista->setCurrentIndex(posizione < ui->Lista->count() ? posizione : -1);
}

void Ricette::ChiediSalvataggio()
{
    if (!nuovaRicetta_)
        return;
    // Asked once: the deletion below moves the navigation bar, which must not ask again.
    nuovaRicetta_ = false;
    if (dialogs().messageBox("Vuoi salvare la ricetta?", Dialogs::SiNo, "Attenzione",
                             Dialogs::NessunaIcona) == Dialogs::No)
        cmdCancella_Click();
}

void Ricette::datPrimaryRS_Validate(int &Action, int &Save)
{
    switch (Action) {
    case Azione::Primo:
    case Azione::Precedente:
    case Azione::Successivo:
    case Azione::Ultimo:
    case Azione::NuovoRecord:
    case Azione::Ricerca: {
        if (ricettaEliminataAltrove(Save)) {
            Action = Azione::Annulla; // the recipe saved anew is shown instead
            break;
        }
        const QString prima = ui->Label2->text();
        ChiediSalvataggio();
        // The new recipe was deleted and the deletion made its own move: the one asked for
        // would carry the deleted recipe's boxes into another.
        if (ui->Label2->text() != prima) {
            Action = Azione::Annulla;
            Save = 0;
            break;
        }
        inSpostamento_ = true;
        break;
    }
    case Azione::Segnalibro:
        if (ricettaEliminataAltrove(Save)) {
            Action = Azione::Annulla;
            break;
        }
        inSpostamento_ = true;
        break;
    case Azione::Chiusura:
        ricettaEliminataAltrove(Save);
        unsetCursor();
        break;
    default:
        break;
    }
    setCursor(Qt::WaitCursor);
}

void Ricette::datPrimaryRS_Reposition()
{
    ChiediSalvataggio();
    unsetCursor();
    const Recordset *rs = ricetta_->Recordset();
    const QString chiave = ui->Label2->text().trimmed();
    // No current recipe (an empty book, a row being added): lines of no recipe.
    righe_->seguiRicetta(chiave);
    ricetta_->setCaption(QStringLiteral("Ricetta N° %1").arg(rs ? rs->AbsolutePosition() + 1 : 0));
    if (attivata_ && chiave != righe_->ricetta())
        righe_->carica();
    conversione_->ricorda();
    for (QLineEdit *c : txtFields)
        if (c)
            c->setCursorPosition(0); // a long text shows its beginning
    abilitaRicetta();
    seguiAltriProgrammi();
    if (listaDaAggiornare_) {
        SvuotaListaRicette();
        CaricaListaRicette();
        if (riordina())
            return; // its own move to this recipe did the rest
    }
    evidenziaNellaLista();
    // Once the window shows the whole recipe, not once for every box the move filled.
    inSpostamento_ = false;
    if (attivata_ && !testo(Schema::IDCategoriaAlimentare).trimmed().isEmpty())
        sincronizzaCategoria(false);
}

// No recipe to write into (an empty book): nothing can be typed that would be lost.
void Ricette::abilitaRicetta()
{
    const Recordset *rs = ricetta_->Recordset();
    const bool ricetta = rs && (rs->haRigaCorrente() || rs->EditMode() == Recordset::NuovoInCorso);
    for (QWidget *c : std::initializer_list<QWidget *>{
             ui->Lista, chkFields6, ui->IngredienteScelto, ui->Qta, ui->Commento, ui->Command1,
             ui->Command2, ui->Command8, ui->Text2, ui->Command5, ui->Check1, ui->cmdCancella,
             ui->cmdStampa, ui->cmdSpesa})
        c->setEnabled(ricetta);
    for (int i = Schema::NomeRicetta; i <= Schema::Utensili; ++i)
        if (QWidget *c = txtFields[i] ? static_cast<QWidget *>(txtFields[i]) : txtMemo[i])
            c->setEnabled(ricetta);
}

void Ricette::datPrimaryRS_Error(int DataErr, int &Response)
{
    erroreDati(ricetta_, DataErr, Response);
}

void Ricette::erroreDati(DataSource *ds, int DataErr, int &Response)
{
    if (DataErr == EngineError::FileNonTrovato)
        dialogs().messageBox("Il ricettario che si tenta di aprire non è stato trovato.",
                             Dialogs::SoloOK, "Errore!", Dialogs::Critica);
    else
        dialogs().messageBox(QStringLiteral("Errore nella gestione dei dati: %1(%2)")
                                 .arg(ds->descrizioneErrore())
                                 .arg(DataErr),
                             Dialogs::SoloOK, "Errore!", Dialogs::Critica);
    Response = 0;
    attivata_ = true;
    inSpostamento_ = false; // a failed move fills no box
    unsetCursor();
}

void Ricette::datPrimaryRS_MouseDown()
{
    conversione_->rimetti();
}

void Ricette::chiaveRicetta_Change()
{
    // A move fills the grid's rows again when the whole recipe is shown.
    if (attivata_ && !inSpostamento_)
        righe_->svuota();
}

void Ricette::txtFields_Change(int Index)
{
    Q_UNUSED(Index)
    if (attivata_ && !inSpostamento_ && !testo(Schema::IDCategoriaAlimentare).trimmed().isEmpty())
        sincronizzaCategoria(false);
}

void Ricette::txtFields_KeyPress(int Index, int &KeyAscii)
{
    if (Index == Schema::NomeRicetta)
        listaDaAggiornare_ = true;
    if (Index == Schema::NumeroPorzioni || Index == Schema::CaloriePerPorzione)
        soloCifre(KeyAscii);
}

void Ricette::txtFields_LostFocus(int Index)
{
    if (Index == Schema::NomeRicetta) {
        const QString nome = maiuscolaIniziale(testo(Schema::NomeRicetta));
        if (nome != testo(Schema::NomeRicetta))
            setTesto(Schema::NomeRicetta, nome);
    } else if (Index == Schema::NumeroPorzioni) {
        const QString porzioni = testo(Schema::NumeroPorzioni).trimmed();
        if (porzioni.isEmpty() || porzioni.toLongLong() == 0) {
            dialogs().messageBox("Il Numero Porzioni non può essere uguale a Zero.",
                                 Dialogs::SoloOK, "Errore!", Dialogs::NessunaIcona);
            setTesto(Schema::NumeroPorzioni, "4");
        }
    }
}

void Ricette::categoria_Click()
{
    const QVariant chiave = ui->Lista->currentData();
    if (chiave.isValid())
        setTesto(Schema::IDCategoriaAlimentare, QString::number(chiave.toLongLong()));
}

void Ricette::etichettaQuantita_DblClick()
{
    ui->Qta->clear();
}

void Ricette::etichettaCommento_DblClick()
{
    ui->Commento->clear();
}

void Ricette::aiuto_Click()
{
    dialogs().help("Pentolone.HLP", Dialogs::Argomento, Guida::Ricette);
}

void Ricette::cmdChiudi_Click()
{
    conversione_->rimetti();
    unsetCursor();
    close();
}

void Ricette::closeEvent(QCloseEvent *e)
{
    Form_Unload();
    e->accept();
}

void Ricette::Form_Unload()
{
    conversione_->rimetti();
    unsetCursor();
    attivata_ = false;
    listaDaAggiornare_ = false;
    ChiediSalvataggio();
    // Closing writes what the bound boxes still hold.
    ricetta_->Close();
    for (DataSource *ds : {listaRicette_, categorie_, ingredienti_, righe_->sorgente()})
        ds->Close();
}

void Ricette::vaiAllaRicetta(qint64 chiave)
{
    for (int i = 0; i < ui->ListaRicette->count(); ++i)
        if (ui->ListaRicette->item(i)->data(Qt::UserRole).toLongLong() == chiave) {
            ui->ListaRicette->setCurrentRow(i); // its click follows
            return;
        }
    dialogs().messageBox("La Ricetta selezionata non è più presente o è stata modificata",
                         Dialogs::SoloOK, "Attenzione", Dialogs::Critica);
}
