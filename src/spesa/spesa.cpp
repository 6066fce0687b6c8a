#include "spesa/spesa.h"
#include "ui_spesa.h"

#include "printing/impaginazione.h"
#include "printing/superficie.h"
#include "spesa/reparti.h"
#include "spesa/telefono.h"
#include "spesa/testo.h"
#include "storage/engineerror.h"
#include "toolkit/dialogs.h"
#include "toolkit/guida.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QSaveFile>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <cerrno>

namespace {

const QString Titolo = QStringLiteral("Lista della spesa");
enum Colonna { ColNome = 0, ColPorzioni = 1 };
enum ColonnaVoce { ColVoce = 0, ColInCasa = 1 };
constexpr int RuoloChiave = Qt::UserRole;

// Portions are a whole number from 1: the box accepts nothing else.
class DelegatoPorzioni : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *s = new QSpinBox(parent);
        s->setRange(1, 999);
        return s;
    }
};

} // namespace

Spesa::Spesa(std::shared_ptr<ListaSpesa> lista, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::Spesa>()), lista_(std::move(lista))
{
    ui->setupUi(this);
    ui->Ricette->setColumnCount(2);
    ui->Ricette->setHorizontalHeaderLabels({QStringLiteral("Ricetta"), QStringLiteral("Porzioni")});
    ui->Ricette->horizontalHeader()->setSectionResizeMode(ColNome, QHeaderView::Stretch);
    ui->Ricette->horizontalHeader()->setSectionResizeMode(ColPorzioni,
                                                          QHeaderView::ResizeToContents);
    ui->Ricette->verticalHeader()->hide();
    ui->Ricette->setItemDelegateForColumn(ColPorzioni, new DelegatoPorzioni(ui->Ricette));
    ui->Voci->header()->setSectionResizeMode(ColVoce, QHeaderView::Stretch);
    ui->Voci->header()->setSectionResizeMode(ColInCasa, QHeaderView::ResizeToContents);
    ui->Voci->header()->setStretchLastSection(false);
    ui->Reparto->addItems(Reparti::tutti());
    ui->Reparto->setEnabled(false);
    ui->divisore->setStretchFactor(0, 2);
    ui->divisore->setStretchFactor(1, 3);

    connect(ui->cmdTogli, &QPushButton::clicked, this, &Spesa::cmdTogli_Click);
    connect(ui->cmdSettimana, &QPushButton::clicked, this, &Spesa::cmdSettimana_Click);
    connect(ui->Ricette, &QTableWidget::itemChanged, this, &Spesa::Ricette_ItemChanged);
    connect(ui->Voci, &QTreeWidget::itemChanged, this, &Spesa::Voci_ItemChanged);
    connect(ui->Voci, &QTreeWidget::currentItemChanged, this, &Spesa::Voci_CurrentItemChanged);
    connect(ui->Reparto, &QComboBox::activated, this, &Spesa::Reparto_Activated);
    connect(ui->cmdAnteprima, &QPushButton::clicked, this, &Spesa::cmdAnteprima_Click);
    connect(ui->cmdStampa, &QPushButton::clicked, this, &Spesa::cmdStampa_Click);
    connect(ui->cmdCopia, &QPushButton::clicked, this, &Spesa::cmdCopia_Click);
    connect(ui->cmdSalva, &QPushButton::clicked, this, &Spesa::cmdSalva_Click);
    connect(ui->cmdTelefono, &QPushButton::clicked, this, &Spesa::cmdTelefono_Click);
    connect(ui->cmdGuida, &QPushButton::clicked, this, &Spesa::cmdGuida_Click);
    connect(ui->cmdChiudi, &QPushButton::clicked, this, &Spesa::cmdChiudi_Click);
    // Shown again after the event that changed it: an edit or a tick is never taken away from
    // under the view that is still handling it.
    connect(lista_.get(), &ListaSpesa::cambiata, this, &Spesa::mostra, Qt::QueuedConnection);
    connect(lista_.get(), &ListaSpesa::libroCambiato, this, &Spesa::mostra);
}

Spesa::~Spesa() = default;

void Spesa::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (aperta_)
        return;
    aperta_ = true;
    mostra();
}

void Spesa::mostra()
{
    // The entry chosen stays chosen, wherever the new reading puts it.
    const Voce *prima = voceCorrente();
    const qint64 corrente = prima ? prima->ingrediente : 0;
    try {
        stato_ = lista_->leggi();
    } catch (const EngineError &e) {
        errore(e);
        return;
    }
    riempiRicette();
    riempiVoci(corrente);
    static const QString vuota = QStringLiteral(
        "La lista è vuota. Le ricette arrivano con \"Aggiungi alla spesa\" nella finestra "
        "Ricette, con \"Alla spesa\" nell'elenco e nella ricerca, e con \"Alla lista della "
        "spesa\" nel menù della settimana.");
    if (!stato_.tolte.isEmpty())
        avvisa(QStringLiteral("Non più nel ricettario, tolte dalla lista: %1.")
                   .arg(stato_.tolte.join(QStringLiteral(", "))));
    else if (stato_.scelte.isEmpty())
        avvisa(vuota);
    else if (ui->lblAvviso->text() == vuota)
        avvisa({});
    if (telefono_)
        telefono_->setTesto(TestoSpesa::testo(stato_.voci));
}

void Spesa::riempiRicette()
{
    riempiendo_ = true;
    QTableWidget *t = ui->Ricette;
    t->setRowCount(int(stato_.scelte.size()));
    for (int i = 0; i < stato_.scelte.size(); ++i) {
        const Scelta &s = stato_.scelte.at(i);
        auto *nome = new QTableWidgetItem(s.nome);
        nome->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        nome->setData(RuoloChiave, s.posizione);
        t->setItem(i, ColNome, nome);
        auto *porzioni = new QTableWidgetItem;
        porzioni->setData(Qt::EditRole, s.porzioni);
        porzioni->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setItem(i, ColPorzioni, porzioni);
    }
    riempiendo_ = false;
}

void Spesa::riempiVoci(qint64 corrente)
{
    riempiendo_ = true;
    QTreeWidget *t = ui->Voci;
    t->clear();
    QTreeWidgetItem *reparto = nullptr;
    QTreeWidgetItem *daScegliere = nullptr;
    for (int i = 0; i < stato_.voci.size(); ++i) {
        const Voce &v = stato_.voci.at(i);
        if (!reparto || reparto->text(ColVoce) != v.reparto) {
            reparto = new QTreeWidgetItem(t, {v.reparto});
            reparto->setFlags(Qt::ItemIsEnabled);
            QFont f = reparto->font(ColVoce);
            f.setBold(true);
            reparto->setFont(ColVoce, f);
            reparto->setFirstColumnSpanned(true);
        }
        auto *voce = new QTreeWidgetItem(reparto, {v.testo()});
        voce->setData(ColVoce, RuoloChiave, i);
        voce->setToolTip(ColVoce, QStringLiteral("Per: ") + v.perChi.join(QStringLiteral(", ")));
        voce->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        voce->setCheckState(ColInCasa, v.inCasa ? Qt::Checked : Qt::Unchecked);
        if (v.inCasa) {
            // What is at home stays in sight, struck out, so it can be unticked.
            QFont f = voce->font(ColVoce);
            f.setStrikeOut(true);
            voce->setFont(ColVoce, f);
            voce->setForeground(ColVoce, palette().placeholderText());
        }
        if (v.ingrediente == corrente)
            daScegliere = voce;
    }
    t->expandAll();
    riempiendo_ = false;
    if (daScegliere) {
        t->setCurrentItem(daScegliere, ColVoce);
        t->scrollToItem(daScegliere);
    }
    Voci_CurrentItemChanged();
}

const Voce *Spesa::voceCorrente() const
{
    const QTreeWidgetItem *i = ui->Voci->currentItem();
    if (!i || !i->parent())
        return nullptr;
    const int n = i->data(ColVoce, RuoloChiave).toInt();
    return n < stato_.voci.size() ? &stato_.voci.at(n) : nullptr;
}

void Spesa::avvisa(const QString &testo)
{
    ui->lblAvviso->setText(testo);
    ui->lblAvviso->setVisible(!testo.isEmpty());
}

void Spesa::errore(const EngineError &e)
{
    dialogs().messageBox(e.description(), Dialogs::SoloOK, Titolo, Dialogs::Critica);
}

void Spesa::cmdTogli_Click()
{
    QList<qint64> posizioni;
    for (const QModelIndex &i : ui->Ricette->selectionModel()->selectedRows(ColNome))
        posizioni << i.data(RuoloChiave).toLongLong();
    if (posizioni.isEmpty()) {
        dialogs().messageBox("Selezionate prima le ricette da togliere.", Dialogs::SoloOK, Titolo,
                             Dialogs::Informazione);
        return;
    }
    try {
        lista_->togli(posizioni);
    } catch (const EngineError &e) {
        errore(e);
    }
}

void Spesa::cmdSettimana_Click()
{
    emit apriSettimana();
}

void Spesa::Ricette_ItemChanged(QTableWidgetItem *item)
{
    if (riempiendo_ || item->column() != ColPorzioni)
        return;
    const qint64 posizione =
        ui->Ricette->item(item->row(), ColNome)->data(RuoloChiave).toLongLong();
    const int porzioni = item->data(Qt::EditRole).toInt();
    try {
        lista_->setPorzioni(posizione, porzioni);
    } catch (const EngineError &e) {
        errore(e);
        mostra();
    }
}

void Spesa::Voci_ItemChanged(QTreeWidgetItem *item, int colonna)
{
    if (riempiendo_ || colonna != ColInCasa || !item->parent())
        return;
    const Voce &v = stato_.voci.at(item->data(ColVoce, RuoloChiave).toInt());
    const bool inCasa = item->checkState(ColInCasa) == Qt::Checked;
    // The tree is filled again after the change; the entry stays current.
    ui->Voci->setCurrentItem(item);
    try {
        lista_->setInCasa(v.ingrediente, inCasa);
    } catch (const EngineError &e) {
        errore(e);
        mostra();
    }
}

void Spesa::Voci_CurrentItemChanged()
{
    if (riempiendo_)
        return;
    const Voce *v = voceCorrente();
    ui->Reparto->setEnabled(v != nullptr);
    if (v)
        ui->Reparto->setCurrentIndex(Reparti::ordine(v->reparto));
    ui->lblPerChi->setText(v ? QStringLiteral("Per: ") + v->perChi.join(QStringLiteral(", "))
                             : QString());
}

void Spesa::Reparto_Activated(int indice)
{
    const Voce *v = voceCorrente();
    if (!v || Reparti::tutti().value(indice) == v->reparto)
        return;
    try {
        lista_->setReparto(v->ingrediente, Reparti::tutti().value(indice));
    } catch (const EngineError &e) {
        errore(e);
    }
}

void Spesa::cmdAnteprima_Click()
{
    stampa(true);
}

void Spesa::cmdStampa_Click()
{
    stampa(false);
}

void Spesa::stampa(bool anteprima)
{
    comandoDiStampa(
        [this](int copie) {
            for (int i = 0; i < copie; ++i)
                TestoSpesa::stampa(SuperficieStampa::instance(), stato_);
        },
        Titolo, anteprima);
}

void Spesa::cmdCopia_Click()
{
    QGuiApplication::clipboard()->setText(TestoSpesa::testo(stato_.voci));
    avvisa(QStringLiteral("La lista è negli appunti: incollatela dove volete."));
}

void Spesa::cmdSalva_Click()
{
    const QString file = dialogs().openFile("Salva la lista della spesa", "Testo |*.txt",
                                            Titolo + QStringLiteral(".txt"), true);
    if (file.isEmpty())
        return;
    const QByteArray testo = TestoSpesa::testo(stato_.voci).toUtf8();
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(testo) != testo.size() || !f.commit()) {
        const int perche = errno;
        f.cancelWriting();
        dialogs().messageBox(
            righe({"La lista non è stata salvata:", EngineError::causaDiScrittura(perche, file)}),
            Dialogs::SoloOK, Titolo, Dialogs::Critica);
    }
}

void Spesa::cmdTelefono_Click()
{
    if (!telefono_) {
        // A window of its own, over this one and gone with it.
        telefono_ = new Telefono(this);
        telefono_->setAttribute(Qt::WA_DeleteOnClose);
    }
    telefono_->setTesto(TestoSpesa::testo(stato_.voci));
    telefono_->show();
    telefono_->raise();
    telefono_->activateWindow();
}

void Spesa::cmdGuida_Click()
{
    dialogs().help("Pentolone.HLP", Dialogs::Argomento, Guida::Spesa);
}

void Spesa::cmdChiudi_Click()
{
    close();
}
