// The search window: one box, results as the user types, two ways of searching.
#include "cerca/cerca.h"
#include "ui_cerca.h"

#include "cerca/indice.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"
#include "toolkit/guida.h"

#include <QAbstractTextDocumentLayout>
#include <QCloseEvent>
#include <QCompleter>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QStandardPaths>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTextDocumentFragment>

using namespace Applicazione;

namespace {

enum Colonna { ColNome = 0, ColCategoria, ColVegetariana, ColDettaglio };

// The detail column holds a line of HTML: the words found, or what is missing, marked.
class Dettaglio : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *p, const QStyleOptionViewItem &opzione,
               const QModelIndex &indice) const override
    {
        QStyleOptionViewItem o = opzione;
        initStyleOption(&o, indice);
        o.text.clear();
        const QWidget *w = o.widget;
        w->style()->drawControl(QStyle::CE_ItemViewItem, &o, p, w);
        QTextDocument d;
        d.setDefaultFont(o.font);
        d.setDocumentMargin(0);
        QTextOption riga;
        riga.setWrapMode(QTextOption::NoWrap);
        d.setDefaultTextOption(riga);
        d.setHtml(indice.data(Qt::UserRole).toString());
        const QRect r = w->style()->subElementRect(QStyle::SE_ItemViewItemText, &o, w);
        QAbstractTextDocumentLayout::PaintContext c;
        c.palette.setColor(QPalette::Text, o.palette.color(o.state & QStyle::State_Selected
                                                               ? QPalette::HighlightedText
                                                               : QPalette::Text));
        c.clip = QRectF(0, 0, r.width(), r.height());
        p->save();
        p->translate(r.left(), r.top() + (r.height() - d.size().height()) / 2);
        p->setClipRect(c.clip);
        d.documentLayout()->draw(p, c);
        p->restore();
    }
};

QString conteggio(qsizetype n, bool tutte)
{
    if (n == 0)
        return QStringLiteral("Nessuna ricetta trovata");
    if (n == 1)
        return QStringLiteral("1 ricetta trovata");
    return (tutte ? QStringLiteral("%1 ricette trovate")
                  : QStringLiteral("Le prime %1 ricette trovate"))
        .arg(n);
}

// "4 di 6 - manca: Ricotta, Uova": the lines covered and the ingredients still to buy.
QString copertura(const IndiceRicette::Risultato &r)
{
    QStringList mancanti;
    for (const QString &m : r.mancanti)
        mancanti.append(m.toHtmlEscaped());
    return QStringLiteral("%1 di %2 - ").arg(r.coperte).arg(r.righe) +
           (mancanti.isEmpty() ? QStringLiteral("<b>c'è tutto</b>")
                               : QStringLiteral("manca: <b>%1</b>").arg(mancanti.join(", ")));
}

} // namespace

Cerca::Cerca(QWidget *parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::Cerca>()),
      completamento_(new QCompleter(this))
{
    ui->setupUi(this);
    ui->Risultati->setItemDelegateForColumn(ColDettaglio, new Dettaglio(ui->Risultati));
    QHeaderView *testata = ui->Risultati->header();
    testata->setStretchLastSection(true);
    testata->setSectionResizeMode(ColCategoria, QHeaderView::ResizeToContents);
    testata->setSectionResizeMode(ColVegetariana, QHeaderView::ResizeToContents);
    completamento_->setCaseSensitivity(Qt::CaseInsensitive);
    completamento_->setWidget(ui->txtCerca);
    completamento_->setModel(new QStringListModel(completamento_));

    connect(ui->txtCerca, &QLineEdit::textChanged, this, &Cerca::txtCerca_Change);
    connect(ui->txtCerca, &QLineEdit::textEdited, this, &Cerca::suggerisci);
    connect(ui->txtCerca, &QLineEdit::returnPressed, this, &Cerca::cmdApri_Click);
    connect(completamento_, qOverload<const QString &>(&QCompleter::activated), this,
            &Cerca::completamento_Activated);
    connect(ui->optTesto, &QRadioButton::clicked, this, &Cerca::optTesto_Click);
    connect(ui->optDispensa, &QRadioButton::clicked, this, &Cerca::optDispensa_Click);
    connect(ui->chkVegetariane, &QCheckBox::clicked, this, &Cerca::chkVegetariane_Click);
    connect(ui->Lista, &QComboBox::activated, this, &Cerca::Lista_Click);
    connect(ui->Risultati, &QTreeWidget::itemActivated, this, &Cerca::Risultati_DblClick);
    connect(ui->cmdApri, &QPushButton::clicked, this, &Cerca::cmdApri_Click);
    connect(ui->cmdSpesa, &QPushButton::clicked, this, &Cerca::cmdSpesa_Click);
    connect(ui->cmdGuida, &QPushButton::clicked, this, &Cerca::cmdGuida_Click);
    TrascinaRicette::abilita(ui->Risultati, [this] { return ricetteScelte(); });
    connect(ui->cmdChiudi, &QPushButton::clicked, this, &Cerca::cmdChiudi_Click);
    connect(ui->cmdAnnulla, &QPushButton::clicked, this, &Cerca::cmdAnnulla_Click);
    new QShortcut(QKeySequence::HelpContents, this, this, &Cerca::cmdGuida_Click);
    new QShortcut(QKeySequence::Cancel, this, this, &Cerca::cmdChiudi_Click);
    for (QWidget *w : std::initializer_list<QWidget *>{ui->Label4, ui->Avanzamento, ui->cmdAnnulla})
        w->hide();
    ui->txtCerca->installEventFilter(this);
    modo();
}

Cerca::~Cerca() = default;

void Cerca::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (!std::exchange(aperta_, true))
        Form_Activate();
}

QString Cerca::cartellaIndici()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : QDir(cache).filePath(QStringLiteral("ricerca"));
}

void Cerca::Form_Activate()
{
    ricerca_ = new RicercaInSottofondo(RicettarioCorrente, cartellaIndici(), this);
    connect(ricerca_, &RicercaInSottofondo::risposta, this, &Cerca::ricerca_Risposta);
    connect(ricerca_, &RicercaInSottofondo::avanzamento, this, &Cerca::ricerca_Avanzamento);
    connect(ricerca_, &RicercaInSottofondo::nomi, this, &Cerca::ricerca_Nomi);
    connect(ricerca_, &RicercaInSottofondo::errore, this, &Cerca::avvisa);
}

void Cerca::ricerca_Nomi(const QList<std::pair<qint64, QString>> &categorie,
                         const QStringList &ingredienti)
{
    const qint64 scelta = ui->Lista->currentData().toLongLong();
    const QSignalBlocker silenzio(ui->Lista);
    ui->Lista->clear();
    ui->Lista->addItem(QStringLiteral("Tutte le categorie"), 0);
    for (const auto &[chiave, nome] : categorie)
        ui->Lista->addItem(nome, chiave);
    ui->Lista->setCurrentIndex(qMax(0, ui->Lista->findData(scelta)));
    static_cast<QStringListModel *>(completamento_->model())->setStringList(ingredienti);
}

// A whole comparison of the book shows its progress; once done, the search shown runs again
// on the index brought up to the book.
void Cerca::ricerca_Avanzamento(int fatte, int tutte)
{
    const bool finita = fatte >= tutte;
    for (QWidget *w : std::initializer_list<QWidget *>{ui->Label4, ui->Avanzamento, ui->cmdAnnulla})
        w->setVisible(!finita);
    ui->Avanzamento->setRange(0, tutte);
    ui->Avanzamento->setValue(fatte);
    // Each block indexed may bring recipes the search shown lacks: it runs again, until the
    // list is full.
    if (finita || ui->Risultati->topLevelItemCount() < Massimo)
        aggiornaRisultati();
}

void Cerca::cmdAnnulla_Click()
{
    if (ricerca_)
        ricerca_->annullaPreparazione();
    for (QWidget *w : std::initializer_list<QWidget *>{ui->Label4, ui->Avanzamento, ui->cmdAnnulla})
        w->hide();
    aggiornaRisultati();
}

void Cerca::avvisa(const QString &causa)
{
    // The search runs at every key typed: a cause is said once while it lasts, not per key.
    if (std::exchange(avvisato_, causa) != causa)
        dialogs().messageBox(causa, Dialogs::SoloOK, windowTitle(), Dialogs::Critica);
}

void Cerca::aggiornaRisultati()
{
    if (!isVisible() || !ricerca_) // closing
        return;
    const QString testo = ui->txtCerca->text();
    if (testo.trimmed().isEmpty()) {
        attesa_ = 0;
        ui->Risultati->clear();
        ui->Label3->clear();
        return;
    }
    ricerca_->guardaIlLibro();
    RicercaInSottofondo::Richiesta r;
    r.testo = testo;
    r.dispensa = ui->optDispensa->isChecked();
    r.filtro = {ui->chkVegetariane->isChecked(), ui->Lista->currentData().toLongLong()};
    r.massimo = Massimo + 1; // one more tells whether there were more
    attesa_ = ricerca_->chiedi(r);
}

void Cerca::ricerca_Risposta(const RicercaInSottofondo::Risposta &r)
{
    if (r.numero != attesa_)
        return; // a newer search is on its way
    if (!r.incompleta)
        avvisato_.clear(); // the book was read whole: a cause said before is gone
    const bool dispensa = ui->optDispensa->isChecked();
    QList<QTreeWidgetItem *> voci;
    for (const IndiceRicette::Risultato &x : r.risultati.mid(0, Massimo)) {
        auto *v = new QTreeWidgetItem;
        v->setText(ColNome, x.nome);
        v->setData(ColNome, Qt::UserRole, x.chiave);
        v->setText(ColCategoria, x.categoria);
        v->setText(ColVegetariana, x.vegetariana ? QStringLiteral("Sì") : QString());
        const QString dettaglio = dispensa ? copertura(x) : x.estratto;
        v->setData(ColDettaglio, Qt::UserRole, dettaglio);
        v->setText(ColDettaglio, QTextDocumentFragment::fromHtml(dettaglio).toPlainText());
        v->setToolTip(ColDettaglio, v->text(ColDettaglio)); // the whole of a long one
        voci.append(v);
    }
    ui->Risultati->clear();
    ui->Risultati->addTopLevelItems(voci);
    if (!voci.isEmpty())
        ui->Risultati->setCurrentItem(voci.first());
    QStringList detto{conteggio(voci.size(), r.risultati.size() <= Massimo)};
    if (r.ridotta)
        detto << QStringLiteral("cercate solo le prime %1 parole, di %2 lettere al più")
                     .arg(Domanda::MassimoTermini)
                     .arg(Domanda::MassimoLettere);
    if (r.incompleta)
        detto << QStringLiteral("la ricerca è ancora in preparazione: possono mancare ricette");
    ui->Label3->setText(detto.join(QStringLiteral(" - ")));
    emit risultatiMostrati(!r.incompleta);
}

void Cerca::txtCerca_Change()
{
    aggiornaRisultati();
}

// In "Cosa cucino con..." the ingredient being typed, after the last comma, is completed
// from the book's ingredients.
void Cerca::suggerisci()
{
    if (!ui->optDispensa->isChecked())
        return;
    const QString ultimo = ui->txtCerca->text().section(QLatin1Char(','), -1).trimmed();
    if (ultimo.isEmpty()) {
        completamento_->popup()->hide();
        return;
    }
    completamento_->setCompletionPrefix(ultimo);
    completamento_->complete();
}

void Cerca::completamento_Activated(const QString &nome)
{
    QString testo = ui->txtCerca->text();
    const qsizetype virgola = testo.lastIndexOf(QLatin1Char(','));
    testo = (virgola < 0 ? QString() : testo.left(virgola + 1) + QLatin1Char(' ')) + nome +
            QStringLiteral(", ");
    ui->txtCerca->setText(testo);
}

void Cerca::modo()
{
    const bool dispensa = ui->optDispensa->isChecked();
    ui->txtCerca->setPlaceholderText(
        dispensa ? QStringLiteral("Gli ingredienti che hai, separati da virgole: uova, farina...")
                 : QStringLiteral("Parole da cercare: zucchine ricotta \"al forno\" -funghi"));
    ui->Risultati->headerItem()->setText(ColDettaglio, dispensa ? QStringLiteral("Ingredienti")
                                                                : QStringLiteral("Dove compare"));
    ui->txtCerca->clear();
    ui->txtCerca->setFocus();
}

void Cerca::optTesto_Click()
{
    modo();
}

void Cerca::optDispensa_Click()
{
    modo();
}

void Cerca::chkVegetariane_Click()
{
    aggiornaRisultati();
}

void Cerca::Lista_Click()
{
    aggiornaRisultati();
}

void Cerca::Risultati_DblClick()
{
    cmdApri_Click();
}

void Cerca::cmdApri_Click()
{
    if (const QTreeWidgetItem *v = ui->Risultati->currentItem())
        emit apriRicetta(v->data(ColNome, Qt::UserRole).toLongLong());
    else
        dialogs().beep();
}

TrascinaRicette::Ricette Cerca::ricetteScelte() const
{
    TrascinaRicette::Ricette r;
    for (const QTreeWidgetItem *v : ui->Risultati->selectedItems())
        r.append({v->data(ColNome, Qt::UserRole).toLongLong(), v->text(ColNome)});
    return r;
}

void Cerca::cmdSpesa_Click()
{
    QList<qint64> chiavi;
    for (const auto &[chiave, nome] : ricetteScelte())
        chiavi << chiave;
    if (chiavi.isEmpty())
        dialogs().beep();
    else
        emit aggiungiAllaSpesa(chiavi);
}

void Cerca::cmdGuida_Click()
{
    dialogs().help("Pentolone.HLP", Dialogs::Argomento, Guida::Cerca);
}

void Cerca::cmdChiudi_Click()
{
    close();
}

bool Cerca::eventFilter(QObject *o, QEvent *e)
{
    if (o == ui->txtCerca && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(e)->key() == Qt::Key_Down) {
        txtCerca_KeyDown();
        return true;
    }
    return QWidget::eventFilter(o, e);
}

void Cerca::txtCerca_KeyDown()
{
    if (ui->Risultati->topLevelItemCount() > 0)
        ui->Risultati->setFocus();
}

// The recipe's name has the room it needs; the extract takes what is left.
void Cerca::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    ui->Risultati->header()->resizeSection(
        ColNome, qMax(fontMetrics().horizontalAdvance(QString(26, QLatin1Char('n'))),
                      ui->Risultati->viewport()->width() * 2 / 5));
}

void Cerca::closeEvent(QCloseEvent *e)
{
    // The editor opened on a result goes first, with its own questions; it may stay.
    if (sopra_ && !sopra_->close()) {
        e->ignore();
        return;
    }
    e->accept();
}
