// The editor's wiring: each control's signals and keys to its handler, and the key codes the
// handlers take.
#include "editor/conversioneporzioni.h"
#include "editor/ricette.h"
#include "editor/righeingredienti.h"
#include "editor/tasti.h"
#include "ui_ricette.h"

#include "storage/datasource.h"
#include "toolkit/casellamemo.h"
#include "toolkit/dialogs.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <utility>

namespace {

// The columns of Ricette that the bound boxes show.
constexpr int CampiSemplici[] = {
    Schema::NomeRicetta,    Schema::DescrizioneRicetta,    Schema::Preparata_da,
    Schema::TipoPasto,      Schema::IDCategoriaAlimentare, Schema::TempoPreparazione,
    Schema::NumeroPorzioni, Schema::CaloriePerPorzione,    Schema::Utensili};
constexpr int CampiLunghi[] = {Schema::InformazioniNutrizionali, Schema::IngredientiTesto,
                               Schema::Istruzioni, Schema::Note};

// The character of a key press as the handlers take it.
int codiceTasto(const QKeyEvent *e)
{
    if (e->key() == Qt::Key_Backspace)
        return Tasto::Backspace;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return Tasto::Invio;
    const QString t = e->text();
    return t.isEmpty() || !t.at(0).isPrint() ? Tasto::Nessuno : t.at(0).unicode();
}

QString nomeColonna(int colonna)
{
    return Schema::tabella(Schema::Ricette)->colonne.at(colonna).nome;
}

} // namespace

void soloCifre(int &tasto)
{
    if (tasto != Tasto::Backspace && (tasto < '0' || tasto > '9')) {
        tasto = Tasto::Nessuno;
        dialogs().beep();
    }
}

// The recipe's boxes, bound to their columns.
void Ricette::collegaCaselle()
{
    for (const int i : CampiSemplici) {
        txtFields[i] = findChild<QLineEdit *>(QStringLiteral("txtFields_%1").arg(i));
        ricetta_->bind(txtFields[i], nomeColonna(i));
        connect(txtFields[i], &QLineEdit::textChanged, this, [this, i] { txtFields_Change(i); });
        txtFields[i]->installEventFilter(this);
    }
    for (const int i : CampiLunghi) {
        txtMemo[i] = findChild<QPlainTextEdit *>(QStringLiteral("txtFields_%1").arg(i));
        ricetta_->bind(new CasellaMemo(txtMemo[i]), nomeColonna(i));
        connect(txtMemo[i], &QPlainTextEdit::textChanged, this, [this, i] { txtFields_Change(i); });
        txtMemo[i]->installEventFilter(this);
    }
    chkFields6 = ui->chkFields_6;
    ricetta_->bind(chkFields6, nomeColonna(Schema::Vegetariana));
    ricetta_->bind(ui->Label2, nomeColonna(Schema::IDRicetta));
    connect(ui->Label2, &QLineEdit::textChanged, this, &Ricette::chiaveRicetta_Change);

    // Digits only, also when pasted.
    const QRegularExpression cifre(QStringLiteral("[0-9]*"));
    for (QLineEdit *c :
         {txtFields[Schema::NumeroPorzioni], txtFields[Schema::CaloriePerPorzione], ui->Text2})
        c->setValidator(new QRegularExpressionValidator(cifre, c));
    ui->Qta->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), ui->Qta));
}

void Ricette::collegaSorgenti()
{
    ui->datPrimaryRS->attach(ricetta_);
    connect(ui->datPrimaryRS, &NavigationBar::MouseDown, this, &Ricette::datPrimaryRS_MouseDown);
    // Validate and Error answer through their int & arguments: direct connections only.
    connect(ricetta_, &DataSource::Validate, this, &Ricette::datPrimaryRS_Validate,
            Qt::DirectConnection);
    connect(ricetta_, &DataSource::Reposition, this, &Ricette::datPrimaryRS_Reposition);
    connect(ricetta_, &DataSource::Error, this, &Ricette::datPrimaryRS_Error, Qt::DirectConnection);
    // The hidden sources report their failures the same way.
    for (DataSource *ds : {listaRicette_, categorie_, ingredienti_, righe_->sorgente()})
        connect(
            ds, &DataSource::Error, this,
            [this, ds](int DataErr, int &Response) { erroreDati(ds, DataErr, Response); },
            Qt::DirectConnection);
}

void Ricette::collegaListe()
{
    connect(ui->Lista, &QComboBox::activated, this, &Ricette::categoria_Click);
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
    connect(ui->GridRicette, &FlexGrid::Click, righe_, &RigheIngredienti::mostraRigaScelta);
    connect(ui->Text1, &QLineEdit::returnPressed, this, [this] {
        int tasto = Tasto::Invio;
        nomeNuovoIngrediente_KeyPress(tasto);
    });
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui->Lista, ui->ListaRicette, ui->Label4, ui->Label5, ui->IngredienteScelto,
             ui->ListaIngredienti, ui->Text1, ui->Qta, ui->Text2})
        w->installEventFilter(this);
}

void Ricette::collegaPulsanti()
{
    const std::pair<QPushButton *, void (Ricette::*)()> pulsanti[] = {
        {ui->cmdChiudi, &Ricette::cmdChiudi_Click},
        {ui->Command6, &Ricette::aiuto_Click},
        {ui->Command3, &Ricette::nuovoIngrediente_Click},
        {ui->Command4, &Ricette::registraNuovoIngrediente_Click},
        {ui->Command7, &Ricette::cerca_Click},
        {ui->cmdInserisci, &Ricette::cmdInserisci_Click},
        {ui->cmdCancella, &Ricette::cmdCancella_Click},
        {ui->cmdStampa, &Ricette::cmdStampa_Click},
        {ui->cmdSpesa, &Ricette::cmdSpesa_Click}};
    for (const auto &[pulsante, gestore] : pulsanti)
        connect(pulsante, &QPushButton::clicked, this, gestore);
    // The line's buttons add the ingredient the chosen box names.
    connect(ui->Command1, &QPushButton::clicked, righe_,
            [this] { righe_->aggiungi(idIngredienteScelto_); });
    connect(ui->Command2, &QPushButton::clicked, righe_, &RigheIngredienti::cancellaRigaScelta);
    connect(ui->Command8, &QPushButton::clicked, righe_, &RigheIngredienti::sostituisciIngrediente);
    connect(ui->Command5, &QPushButton::clicked, conversione_, &ConversionePorzioni::trasforma);
}

bool Ricette::eventFilter(QObject *o, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        if (tastoPremuto(o, static_cast<QKeyEvent *>(e)))
            return true;
        break;
    case QEvent::KeyRelease:
        tastoRilasciato(o, static_cast<QKeyEvent *>(e));
        break;
    case QEvent::FocusIn:
        if (o == ui->Qta)
            righe_->quantitaToccata();
        break;
    case QEvent::FocusOut: {
        // Another window or a popup menu taking the focus is not the user leaving the box.
        const Qt::FocusReason motivo = static_cast<QFocusEvent *>(e)->reason();
        if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason)
            fuocoPerso(o);
        break;
    }
    case QEvent::MouseButtonPress:
        if (o == ui->ListaRicette->viewport())
            rigaCambiata_ = false;
        break;
    case QEvent::MouseButtonDblClick:
        if (o == ui->Label4)
            etichettaQuantita_DblClick();
        else if (o == ui->Label5)
            etichettaCommento_DblClick();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(o, e);
}

// True when the key is discarded.
bool Ricette::tastoPremuto(QObject *o, QKeyEvent *e)
{
    const auto tasto = [e](const std::function<void(int &)> &gestore) {
        int KeyAscii = codiceTasto(e);
        if (KeyAscii == Tasto::Nessuno)
            return false; // arrows, function keys: the box's own
        gestore(KeyAscii);
        return KeyAscii == Tasto::Nessuno; // the handler discarded it
    };
    for (int i = Schema::NomeRicetta; i <= Schema::Utensili; ++i)
        if (o == txtFields[i] || o == txtMemo[i])
            return tasto([this, i](int &k) { txtFields_KeyPress(i, k); });
    if (o == ui->Lista || o == ui->ListaRicette)
        return codiceTasto(e) != Tasto::Nessuno; // arrows only
    if (o == ui->ListaIngredienti)
        return tasto([this](int &k) { ListaIngredienti_KeyPress(k); });
    if (o == ui->Qta)
        return tasto([this](int &k) { righe_->tastoQuantita(k); });
    if (o == ui->Text2) // the portions to convert to
        return tasto(soloCifre);
    if (o == ui->Text1 && codiceTasto(e) != Tasto::Invio)
        return tasto([this](int &k) { nomeNuovoIngrediente_KeyPress(k); });
    return false;
}

void Ricette::tastoRilasciato(QObject *o, QKeyEvent *e)
{
    if (o != ui->IngredienteScelto)
        return;
    // A key that typed left no selection behind: one there was made by Ctrl+A or Shift, whose
    // letter may be let go after Ctrl.
    if (ui->IngredienteScelto->hasSelectedText())
        return;
    // Only keys that type or delete: moving the caret or selecting must keep the text.
    const bool scorciatoia =
        (e->modifiers() & Qt::ControlModifier) && !(e->modifiers() & Qt::AltModifier); // not AltGr
    const int k = scorciatoia ? Tasto::Nessuno : codiceTasto(e);
    // Delete and Backspace only take away; any other character, a point too, completes.
    if (e->key() == Qt::Key_Delete)
        IngredienteScelto_KeyUp(true);
    else if (k != Tasto::Nessuno && k != Tasto::Invio)
        IngredienteScelto_KeyUp(k == Tasto::Backspace);
}

void Ricette::fuocoPerso(QObject *o)
{
    for (int i = Schema::NomeRicetta; i <= Schema::Utensili; ++i)
        if (o == txtFields[i])
            txtFields_LostFocus(i);
    if (o == ui->IngredienteScelto)
        IngredienteScelto_LostFocus();
    else if (o == ui->Text1)
        nomeNuovoIngrediente_LostFocus();
    else if (o == ui->Qta)
        righe_->quantitaToccata();
}
