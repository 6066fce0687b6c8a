#include "spesa/menusettimana.h"
#include "ui_menusettimana.h"

#include "printing/impaginazione.h"
#include "printing/superficie.h"
#include "spesa/testo.h"
#include "storage/engineerror.h"
#include "toolkit/dialogs.h"
#include "toolkit/guida.h"
#include "toolkit/trascinaricette.h"

#include <QCompleter>
#include <QDropEvent>
#include <QMimeData>
#include <QStringListModel>

namespace {
const QString Titolo = QStringLiteral("Menù della settimana");
}

MenuSettimana::MenuSettimana(std::shared_ptr<ListaSpesa> lista, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::MenuSettimana>()), lista_(std::move(lista))
{
    ui->setupUi(this);
    completamento_ = new QCompleter(this);
    completamento_->setCaseSensitivity(Qt::CaseInsensitive);
    completamento_->setFilterMode(Qt::MatchContains);
    for (int i = 0; i < Posti; ++i) {
        Pasto[i] = findChild<QLineEdit *>(QStringLiteral("Pasto_%1").arg(i));
        Porzioni[i] = findChild<QSpinBox *>(QStringLiteral("Porzioni_%1").arg(i));
        Pasto[i]->setCompleter(completamento_);
        Pasto[i]->installEventFilter(this);
        connect(Pasto[i], &QLineEdit::editingFinished, this,
                [this, i] { Pasto_EditingFinished(i); });
        connect(Porzioni[i], &QSpinBox::valueChanged, this,
                [this, i] { Porzioni_ValueChanged(i); });
    }
    connect(completamento_, qOverload<const QString &>(&QCompleter::activated), this,
            &MenuSettimana::completamento_Activated);
    connect(ui->cmdAllaSpesa, &QPushButton::clicked, this, &MenuSettimana::cmdAllaSpesa_Click);
    connect(ui->cmdNuova, &QPushButton::clicked, this, &MenuSettimana::cmdNuova_Click);
    connect(ui->cmdAnteprima, &QPushButton::clicked, this, &MenuSettimana::cmdAnteprima_Click);
    connect(ui->cmdStampa, &QPushButton::clicked, this, &MenuSettimana::cmdStampa_Click);
    connect(ui->cmdGuida, &QPushButton::clicked, this, &MenuSettimana::cmdGuida_Click);
    connect(ui->cmdChiudi, &QPushButton::clicked, this, &MenuSettimana::cmdChiudi_Click);
    connect(lista_.get(), &ListaSpesa::libroCambiato, this, &MenuSettimana::riempi);
}

MenuSettimana::~MenuSettimana() = default;

void MenuSettimana::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (aperta_)
        return;
    aperta_ = true;
    riempi();
}

void MenuSettimana::riempi()
{
    try {
        ricette_ = lista_->ricette();
        settimana_ = lista_->settimana();
    } catch (const EngineError &e) {
        errore(e);
        return;
    }
    QStringList nomi;
    for (const ListaSpesa::Ricetta &r : ricette_)
        nomi << r.nome;
    completamento_->setModel(new QStringListModel(nomi, completamento_));
    riempiendo_ = true;
    for (int i = 0; i < Posti; ++i) {
        Pasto[i]->clear();
        segnaSenzaRicetta(i, false);
    }
    for (const ::Pasto &p : settimana_) {
        const int i = p.giorno * 2 + p.pasto;
        if (i < 0 || i >= Posti)
            continue;
        Pasto[i]->setText(p.nome);
        Pasto[i]->setCursorPosition(0);
        Porzioni[i]->setValue(p.porzioni > 0 ? p.porzioni : 4);
        segnaSenzaRicetta(i, p.ricetta == 0);
    }
    riempiendo_ = false;
}

bool MenuSettimana::eventFilter(QObject *o, QEvent *e)
{
    const int i = int(std::find(std::begin(Pasto), std::end(Pasto), o) - std::begin(Pasto));
    if (i >= Posti)
        return QWidget::eventFilter(o, e);
    switch (e->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *d = static_cast<QDropEvent *>(e);
        if (TrascinaRicette::leggi(d->mimeData()).isEmpty())
            return QWidget::eventFilter(o, e);
        d->setDropAction(Qt::CopyAction);
        d->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *d = static_cast<QDropEvent *>(e);
        const TrascinaRicette::Ricette r = TrascinaRicette::leggi(d->mimeData());
        if (r.isEmpty())
            return QWidget::eventFilter(o, e);
        d->setDropAction(Qt::CopyAction);
        d->accept();
        // The first takes the place it was dropped on; more recipes take the empty places
        // after it, never one the cook already filled.
        QStringList senzaPosto;
        int posto = i;
        for (const auto &[chiave, nome] : r) {
            while (posto != i && posto < Posti && !Pasto[posto]->text().trimmed().isEmpty())
                ++posto;
            if (posto >= Posti) {
                senzaPosto << nome;
                continue;
            }
            int porzioni = 0;
            try {
                porzioni = lista_->ricetta(chiave).porzioni;
            } catch (const EngineError &e) {
                errore(e);
                return true;
            }
            metti(posto++, chiave, nome, porzioni);
        }
        avvisa(senzaPosto.isEmpty()
                   ? QString()
                   : QStringLiteral("Nella settimana non c'è più un posto libero per: %1.")
                         .arg(senzaPosto.join(QStringLiteral(", "))));
        return true;
    }
    default:
        return QWidget::eventFilter(o, e);
    }
}

void MenuSettimana::Pasto_EditingFinished(int Index)
{
    if (riempiendo_)
        return;
    const QString nome = Pasto[Index]->text().trimmed();
    const ::Pasto *prima = nullptr;
    for (const ::Pasto &p : settimana_)
        if (p.giorno * 2 + p.pasto == Index)
            prima = &p;
    if (prima && prima->nome == nome)
        return;
    if (!prima && nome.isEmpty())
        return;
    for (const ListaSpesa::Ricetta &r : ricette_)
        if (r.nome.compare(nome, Qt::CaseInsensitive) == 0) {
            metti(Index, r.chiave, r.nome, r.porzioni);
            return;
        }
    metti(Index, 0, nome, Porzioni[Index]->value());
}

// A name picked in the completion's list is that recipe at once, its portions with it.
void MenuSettimana::completamento_Activated(const QString &nome)
{
    const int i = int(std::find(std::begin(Pasto), std::end(Pasto), completamento_->widget()) -
                      std::begin(Pasto));
    if (i >= Posti)
        return;
    for (const ListaSpesa::Ricetta &r : ricette_)
        if (r.nome == nome) {
            metti(i, r.chiave, r.nome, r.porzioni);
            return;
        }
}

void MenuSettimana::Porzioni_ValueChanged(int Index)
{
    if (riempiendo_)
        return;
    for (const ::Pasto &p : settimana_)
        if (p.giorno * 2 + p.pasto == Index && p.porzioni != Porzioni[Index]->value()) {
            metti(Index, p.ricetta, p.nome, Porzioni[Index]->value());
            return;
        }
}

void MenuSettimana::metti(int Index, qint64 ricetta, const QString &nome, int porzioni)
{
    ::Pasto p{Index / 2, Index % 2, ricetta, nome, porzioni > 0 ? porzioni : 4};
    try {
        lista_->setPasto(p);
    } catch (const EngineError &e) {
        errore(e);
        return;
    }
    settimana_.removeIf(
        [&](const ::Pasto &q) { return q.giorno == p.giorno && q.pasto == p.pasto; });
    if (!nome.isEmpty())
        settimana_.append(p);
    riempiendo_ = true;
    Pasto[Index]->setText(nome);
    Pasto[Index]->setCursorPosition(0);
    Porzioni[Index]->setValue(p.porzioni);
    riempiendo_ = false;
    segnaSenzaRicetta(Index, !nome.isEmpty() && ricetta == 0);
}

void MenuSettimana::segnaSenzaRicetta(int Index, bool senza)
{
    // A meal written by hand shows it is no recipe of the book: it goes to no shopping list.
    QFont f = Pasto[Index]->font();
    f.setItalic(senza);
    Pasto[Index]->setFont(f);
    // The whole name too, where a narrow window cuts it.
    const QString nome = Pasto[Index]->text();
    Pasto[Index]->setToolTip(senza ? nome + QStringLiteral(": non è una ricetta del ricettario, "
                                                           "non va nella lista della spesa")
                             : !nome.isEmpty()
                                 ? nome
                                 : QStringLiteral("Scrivete il nome di una ricetta (si completa "
                                                  "da sé) o trascinatela qui dall'elenco o "
                                                  "dalla ricerca"));
}

void MenuSettimana::cmdAllaSpesa_Click()
{
    try {
        const auto [ricette, senza] = lista_->ricetteDellaSettimana();
        if (ricette.isEmpty()) {
            dialogs().messageBox("Nel menù della settimana non c'è ancora nessuna ricetta del "
                                 "ricettario.",
                                 Dialogs::SoloOK, Titolo, Dialogs::Informazione);
            return;
        }
        lista_->aggiungi(ricette);
        avvisa(senza.isEmpty() ? QString()
                               : QStringLiteral("Non sono ricette del ricettario e non sono "
                                                "nella lista: %1.")
                                     .arg(senza.join(QStringLiteral(", "))));
    } catch (const EngineError &e) {
        errore(e);
        return;
    }
    emit mostraSpesa();
}

void MenuSettimana::cmdNuova_Click()
{
    if (settimana_.isEmpty())
        return;
    if (dialogs().messageBox("Cancellare il menù di tutta la settimana?", Dialogs::SiNo, Titolo,
                             Dialogs::Domanda) != Dialogs::Si)
        return;
    try {
        lista_->settimanaNuova();
    } catch (const EngineError &e) {
        errore(e);
        return;
    }
    avvisa({});
    riempi();
}

void MenuSettimana::cmdAnteprima_Click()
{
    stampa(true);
}

void MenuSettimana::cmdStampa_Click()
{
    stampa(false);
}

void MenuSettimana::stampa(bool anteprima)
{
    comandoDiStampa(
        [this](int copie) {
            for (int i = 0; i < copie; ++i)
                TestoSpesa::stampaSettimana(SuperficieStampa::instance(), settimana_);
        },
        Titolo, anteprima);
}

void MenuSettimana::cmdGuida_Click()
{
    dialogs().help("Pentolone.HLP", Dialogs::Argomento, Guida::Spesa);
}

void MenuSettimana::cmdChiudi_Click()
{
    close();
}

void MenuSettimana::avvisa(const QString &testo)
{
    ui->lblAvviso->setText(testo);
    ui->lblAvviso->setVisible(!testo.isEmpty());
}

void MenuSettimana::errore(const EngineError &e)
{
    dialogs().messageBox(e.description(), Dialogs::SoloOK, Titolo, Dialogs::Critica);
}
