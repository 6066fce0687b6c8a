// The recipe editor window: its data sources, the opening fill, the moves between recipes,
// the category combo, the recipe list and the rules of the recipe's boxes.
#include "editor/ricette.h"
#include "ui_ricette.h"

#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "toolkit/applicazione.h"
#include "toolkit/casellamemo.h"
#include "toolkit/dialogs.h"
#include "toolkit/maiuscole.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <utility>

using namespace Applicazione;

namespace {

// The columns of Ricette that the bound boxes show, by their ordinal.
constexpr int CampiSemplici[] = {1, 2, 3, 4, 5, 7, 8, 9, 14};
constexpr int CampiLunghi[] = {10, 11, 12, 13};

// The character of a key press as the handlers take it: 8 backspace, 13 Enter, 0 none.
int codiceTasto(const QKeyEvent *e)
{
    if (e->key() == Qt::Key_Backspace)
        return 8;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return 13;
    const QString t = e->text();
    return t.isEmpty() || !t.at(0).isPrint() ? 0 : t.at(0).unicode();
}

} // namespace

Ricette::Ricette(QWidget *parent)
    : QWidget(parent, Qt::Window),
      datPrimaryRS(new DataSource(this, "datPrimaryRS", Schema::Origine::RicettePerNome)),
      ListaR(new DataSource(this, "ListaR", Schema::Origine::RicettePerNome)),
      Data1(new DataSource(this, "Data1", Schema::CategorieAlimentari)),
      Data2(new DataSource(this, "Data2", Schema::Origine::IngredientiPerNome)),
      Data3(new DataSource(this, "Data3", Schema::Origine::TabellaRighe)),
      ui(std::make_unique<Ui::Ricette>())
{
    ui->setupUi(this);
    setWindowTitle("Inserimento Ricette - " + IndirizzoWeb);

    for (const int i : CampiSemplici) {
        txtFields[i] = findChild<QLineEdit *>(QStringLiteral("txtFields_%1").arg(i));
        datPrimaryRS->bind(txtFields[i], Schema::tabella(Schema::Ricette)->colonne.at(i).nome);
        connect(txtFields[i], &QLineEdit::textChanged, this, [this, i] { txtFields_Change(i); });
        txtFields[i]->installEventFilter(this);
    }
    for (const int i : CampiLunghi) {
        txtMemo[i] = findChild<QPlainTextEdit *>(QStringLiteral("txtFields_%1").arg(i));
        datPrimaryRS->bind(new CasellaMemo(txtMemo[i]),
                           Schema::tabella(Schema::Ricette)->colonne.at(i).nome);
        connect(txtMemo[i], &QPlainTextEdit::textChanged, this, [this, i] { txtFields_Change(i); });
        txtMemo[i]->installEventFilter(this);
    }
    chkFields6 = ui->chkFields_6;
    datPrimaryRS->bind(chkFields6, "Vegetariana");
    datPrimaryRS->bind(ui->Label2, "IDRicetta");
    connect(ui->Label2, &QLineEdit::textChanged, this, &Ricette::Label2_Change);

    // Digits only, also when pasted.
    const QRegularExpression cifre(QStringLiteral("[0-9]*"));
    for (QLineEdit *c : {txtFields[8], txtFields[9], ui->Text2})
        c->setValidator(new QRegularExpressionValidator(cifre, c));
    ui->Qta->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), ui->Qta));

    ui->datPrimaryRS->attach(datPrimaryRS);
    connect(ui->datPrimaryRS, &NavigationBar::MouseDown, this, &Ricette::datPrimaryRS_MouseDown);
    connect(datPrimaryRS, &DataSource::Validate, this, &Ricette::datPrimaryRS_Validate,
            Qt::DirectConnection);
    connect(datPrimaryRS, &DataSource::Reposition, this, &Ricette::datPrimaryRS_Reposition);
    connect(datPrimaryRS, &DataSource::Error, this, &Ricette::datPrimaryRS_Error,
            Qt::DirectConnection);
    // The hidden sources report their failures the same way.
    for (DataSource *ds : {ListaR, Data1, Data2, Data3})
        connect(
            ds, &DataSource::Error, this,
            [this, ds](int DataErr, int &Response) { erroreDati(ds, DataErr, Response); },
            Qt::DirectConnection);

    connect(ui->Lista, &QComboBox::activated, this, &Ricette::Lista_Click);
    // A choice in the list, by the mouse, the arrows or the program; a click on the entry that
    // is already chosen counts too, once.
    connect(ui->ListaRicette, &QListWidget::currentRowChanged, this, [this] {
        rigaCambiata_ = true;
        ListaRicette_Click();
    });
    connect(ui->ListaRicette, &QListWidget::itemClicked, this, [this] {
        if (!std::exchange(rigaCambiata_, false))
            ListaRicette_Click();
    });
    ui->ListaRicette->viewport()->installEventFilter(this);
    // Thousands of entries of one line each: no need to measure every one.
    ui->ListaRicette->setUniformItemSizes(true);
    ui->ListaIngredienti->setUniformItemSizes(true);
    connect(ui->ListaIngredienti, &QListWidget::itemClicked, this,
            &Ricette::ListaIngredienti_Click);
    connect(ui->ListaIngredienti, &QListWidget::itemDoubleClicked, this,
            &Ricette::ListaIngredienti_DblClick);
    connect(ui->GridRicette, &FlexGrid::Click, this, &Ricette::GridRicette_Click);
    connect(ui->Text1, &QLineEdit::returnPressed, this, [this] {
        int tasto = 13;
        Text1_KeyPress(tasto);
    });

    connect(ui->cmdChiudi, &QPushButton::clicked, this, &Ricette::cmdChiudi_Click);
    connect(ui->Command6, &QPushButton::clicked, this, &Ricette::Command6_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Ricette::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Ricette::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Ricette::Command3_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &Ricette::Command4_Click);
    connect(ui->Command5, &QPushButton::clicked, this, &Ricette::Command5_Click);
    connect(ui->Command7, &QPushButton::clicked, this, &Ricette::Command7_Click);
    connect(ui->Command8, &QPushButton::clicked, this, &Ricette::Command8_Click);
    connect(ui->cmdInserisci, &QPushButton::clicked, this, &Ricette::cmdInserisci_Click);
    connect(ui->cmdCancella, &QPushButton::clicked, this, &Ricette::cmdCancella_Click);
    connect(ui->cmdStampa, &QPushButton::clicked, this, &Ricette::cmdStampa_Click);

    for (QWidget *w : std::initializer_list<QWidget *>{
             ui->Lista, ui->ListaRicette, ui->Label4, ui->Label5, ui->IngredienteScelto,
             ui->ListaIngredienti, ui->Text1, ui->Qta, ui->Text2})
        w->installEventFilter(this);

    Form_Load();
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
    for (DataSource *ds : {datPrimaryRS, ListaR, Data1, Data2, Data3})
        ds->setDatabaseName(RicettarioCorrente);
    FlexGrid *g = ui->GridRicette;
    g->setCols(4);
    g->setRows(2);
    g->setTextMatrix(0, 1, "Ingrediente");
    g->setTextMatrix(0, 2, "Q.tà");
    g->setTextMatrix(0, 3, "Commento");
    g->setColWidth(0, 1);
    g->setColWidth(1, 2400);
    g->setColWidth(2, 500);
    g->setColWidth(3, 6450);
    // A converted quantity such as "83,33" must fit the narrow quantity column whole.
    g->setColumnWidth(2, qMax(g->columnWidth(2), g->fontMetrics().horizontalAdvance("00000,00")));
}

void Ricette::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (aperta_)
        return;
    aperta_ = true;
    // The sources open with the window; a book that cannot be opened is said once, by the
    // navigation bar's source, and the window stays empty and usable.
    if (!datPrimaryRS->Refresh()) {
        abilitaRicetta();
        Attivata = 1;
        return;
    }
    Data1->Refresh(); // ListaR opens when the recipe list is filled
    Data2->Refresh();
    Form_Activate();
}

void Ricette::Form_Activate()
{
    ui->Lista->clear();
    Data1->esegui([this](Recordset &rs) {
        for (int p = 0; p < rs.RecordCount(); ++p)
            ui->Lista->addItem(rs.valoreAlPosto(p, 1).toString(), rs.valoreAlPosto(p, 0));
    });
    CaricaListaRicette();
    Data2->MoveFirst();
    CaricaListaIngredienti();
    datPrimaryRS->MoveFirst(); // the move also marks the recipe in the list
    sincronizzaCategoria(true);
    Attivata = 1;
    CaricaGriglia();
    PorzioniMemorizzate = testo(8);
}

// Finds the recipe's category in Data1 and shows it in the combo; a key that names no category
// is said with the short message at opening, with the long one afterwards.
void Ricette::sincronizzaCategoria(bool messaggioBreve)
{
    const QString chiave = testo(5).trimmed();
    if (chiave.isEmpty()) {
        ui->Lista->setCurrentIndex(-1); // no category: none shown
        return;
    }
    bool trovata = false;
    int posizione = -1;
    Data1->esegui([&](Recordset &rs) {
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

void Ricette::CaricaListaRicette()
{
    ListaR->Refresh();
    ListaR->esegui([this](Recordset &rs) {
        if (rs.RecordCount() > 0)
            rs.MoveFirst();
        const QSignalBlocker silenzio(ui->ListaRicette);
        for (int p = 0; p < rs.RecordCount(); ++p) {
            const QVariant nome = rs.valoreAlPosto(p, 1);
            if (nome.isNull())
                continue;
            // Given its key before it joins the list: a change to a listed entry costs a
            // search of the whole list.
            auto *voce = new QListWidgetItem(nome.toString());
            voce->setData(Qt::UserRole, rs.valoreAlPosto(p, 0));
            ui->ListaRicette->addItem(voce);
        }
    });
}

void Ricette::SvuotaListaRicette()
{
    const QSignalBlocker silenzio(ui->ListaRicette);
    ui->ListaRicette->clear();
    ListaDaAggiornare = 0;
}

void Ricette::ChiediSalvataggio()
{
    if (NuovaRicetta != 1)
        return;
    // Asked once: the deletion below moves the navigation bar, which must not ask again.
    NuovaRicetta = 0;
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
        inSpostamento_ = true;
        break;
    case Azione::Chiusura:
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
    const Recordset *rs = datPrimaryRS->Recordset();
    const QString chiave = ui->Label2->text().trimmed();
    // No current recipe (an empty book, a row being added): lines of no recipe.
    Data3->setRecordSource(Schema::Origine::RighePrefisso +
                           (chiave.isEmpty() ? QStringLiteral("0") : chiave));
    Data3->Refresh();
    datPrimaryRS->setCaption(
        QStringLiteral("Ricetta N° %1").arg(rs ? rs->AbsolutePosition() + 1 : 0));
    if (Attivata == 1 && chiave != IDRicettaCorrente)
        CaricaGriglia();
    PorzioniMemorizzate = testo(8);
    for (const int i : CampiSemplici)
        txtFields[i]->setCursorPosition(0); // a long text shows its beginning
    abilitaRicetta();
    if (ListaDaAggiornare == 1) {
        SvuotaListaRicette();
        CaricaListaRicette();
        if (riordina())
            return; // its own move to this recipe did the rest
    }
    evidenziaNellaLista();
    // Once the window shows the whole recipe, not once for every box the move filled.
    inSpostamento_ = false;
    if (Attivata == 1 && !testo(5).trimmed().isEmpty())
        sincronizzaCategoria(false);
}

// No recipe to write into (an empty book): nothing can be typed that would be lost.
void Ricette::abilitaRicetta()
{
    const Recordset *rs = datPrimaryRS->Recordset();
    const bool ricetta = rs && (rs->haRigaCorrente() || rs->EditMode() == Recordset::NuovoInCorso);
    for (QWidget *c : std::initializer_list<QWidget *>{
             ui->Lista, chkFields6, ui->IngredienteScelto, ui->Qta, ui->Commento, ui->Command1,
             ui->Command2, ui->Command8, ui->Text2, ui->Command5, ui->Check1, ui->cmdCancella,
             ui->cmdStampa})
        c->setEnabled(ricetta);
    for (int i = 1; i < 15; ++i)
        if (QWidget *c = txtFields[i] ? static_cast<QWidget *>(txtFields[i]) : txtMemo[i])
            c->setEnabled(ricetta);
}

void Ricette::datPrimaryRS_Error(int DataErr, int &Response)
{
    erroreDati(datPrimaryRS, DataErr, Response);
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
    Attivata = 1;
    inSpostamento_ = false; // a failed move fills no box
    unsetCursor();
}

void Ricette::rimettiPorzioni()
{
    if (!ui->Check1->isChecked())
        setTesto(8, PorzioniMemorizzate);
}

void Ricette::datPrimaryRS_MouseDown()
{
    rimettiPorzioni();
}

void Ricette::Label2_Change()
{
    if (Attivata == 1)
        svuotaGriglia();
}

void Ricette::txtFields_Change(int Index)
{
    Q_UNUSED(Index)
    if (Attivata == 1 && !inSpostamento_ && !testo(5).trimmed().isEmpty())
        sincronizzaCategoria(false);
}

void Ricette::txtFields_KeyPress(int Index, int &KeyAscii)
{
    if (Index == 1)
        ListaDaAggiornare = 1;
    if ((Index == 8 || Index == 9) && KeyAscii != 8 && (KeyAscii < '0' || KeyAscii > '9')) {
        KeyAscii = 0;
        dialogs().beep();
    }
}

void Ricette::txtFields_LostFocus(int Index)
{
    if (Index == 1) {
        const QString nome = maiuscolaIniziale(testo(1));
        if (nome != testo(1))
            setTesto(1, nome);
    } else if (Index == 8) {
        const QString porzioni = testo(8).trimmed();
        if (porzioni.isEmpty() || porzioni.toLongLong() == 0) {
            dialogs().messageBox("Il Numero Porzioni non può essere uguale a Zero.",
                                 Dialogs::SoloOK, "Errore!", Dialogs::NessunaIcona);
            setTesto(8, "4");
        }
    }
}

void Ricette::Lista_Click()
{
    const QVariant chiave = ui->Lista->currentData();
    if (chiave.isValid())
        setTesto(5, QString::number(chiave.toLongLong()));
}

void Ricette::ListaRicette_Click()
{
    const QListWidgetItem *voce = ui->ListaRicette->currentItem();
    if (!voce)
        return;
    const QString chiave = QString::number(voce->data(Qt::UserRole).toLongLong());
    if (chiave == ui->Label2->text().trimmed())
        return;
    bool trovata = true;
    datPrimaryRS->esegui([&](Recordset &rs) {
        rs.FindFirst(Schema::Criterio::PerRicetta + chiave);
        trovata = !rs.NoMatch();
    });
    if (!trovata)
        dialogs().messageBox("La Ricetta selezionata non è più presente o è stata modificata",
                             Dialogs::SoloOK, "Attenzione", Dialogs::Critica);
}

void Ricette::Label4_DblClick()
{
    ui->Qta->clear();
}

void Ricette::Label5_DblClick()
{
    ui->Commento->clear();
}

void Ricette::Command6_Click()
{
    dialogs().help("Pentolone.HLP", Dialogs::Argomento, 2);
}

void Ricette::cmdChiudi_Click()
{
    rimettiPorzioni();
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
    rimettiPorzioni();
    unsetCursor();
    Attivata = 0;
    ListaDaAggiornare = 0;
    ChiediSalvataggio();
    // Closing writes what the bound boxes still hold.
    datPrimaryRS->Close();
    for (DataSource *ds : {ListaR, Data1, Data2, Data3})
        ds->Close();
}

bool Ricette::eventFilter(QObject *o, QEvent *e)
{
    const auto tasto = [&](const std::function<void(int &)> &gestore) {
        int KeyAscii = codiceTasto(static_cast<QKeyEvent *>(e));
        if (KeyAscii == 0)
            return false; // arrows, function keys: the box's own
        gestore(KeyAscii);
        return KeyAscii == 0; // the handler discarded it
    };
    switch (e->type()) {
    case QEvent::KeyPress:
        for (int i = 1; i < 15; ++i)
            if (o == txtFields[i] || o == txtMemo[i])
                return tasto([this, i](int &k) { txtFields_KeyPress(i, k); });
        if (o == ui->Lista || o == ui->ListaRicette)
            return codiceTasto(static_cast<QKeyEvent *>(e)) != 0; // arrows only
        if (o == ui->ListaIngredienti)
            return tasto([this](int &k) { ListaIngredienti_KeyPress(k); });
        if (o == ui->Qta)
            return tasto([this](int &k) { Qta_KeyPress(k); });
        if (o == ui->Text2)
            return tasto([this](int &k) { Text2_KeyPress(k); });
        if (o == ui->Text1 && codiceTasto(static_cast<QKeyEvent *>(e)) != 13)
            return tasto([this](int &k) { Text1_KeyPress(k); });
        break;
    case QEvent::KeyRelease:
        if (o == ui->IngredienteScelto) {
            // Only keys that type or delete: moving the caret or selecting must keep the text.
            const auto *tasto = static_cast<QKeyEvent *>(e);
            const bool scorciatoia = (tasto->modifiers() & Qt::ControlModifier) &&
                                     !(tasto->modifiers() & Qt::AltModifier); // not AltGr
            const int k = scorciatoia ? 0 : codiceTasto(tasto);
            if (tasto->key() == Qt::Key_Delete)
                IngredienteScelto_KeyUp(46);
            else if (k != 0 && k != 13)
                IngredienteScelto_KeyUp(k == 8 ? 8 : tasto->key());
        }
        break;
    case QEvent::FocusIn:
        if (o == ui->Qta)
            Qta_GotFocus();
        break;
    case QEvent::FocusOut: {
        // Another window or a popup menu taking the focus is not the user leaving the box.
        const Qt::FocusReason motivo = static_cast<QFocusEvent *>(e)->reason();
        if (motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason)
            break;
        for (int i = 1; i < 15; ++i)
            if (o == txtFields[i])
                txtFields_LostFocus(i);
        if (o == ui->IngredienteScelto)
            IngredienteScelto_LostFocus();
        else if (o == ui->Text1)
            Text1_LostFocus();
        else if (o == ui->Qta)
            Qta_LostFocus();
        break;
    }
    case QEvent::MouseButtonPress:
        if (o == ui->ListaRicette->viewport())
            rigaCambiata_ = false;
        break;
    case QEvent::MouseButtonDblClick:
        if (o == ui->Label4)
            Label4_DblClick();
        else if (o == ui->Label5)
            Label5_DblClick();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(o, e);
}
