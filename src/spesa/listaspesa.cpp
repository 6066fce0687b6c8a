#include "spesa/listaspesa.h"

#include "spesa/reparti.h"
#include "storage/schema.h"
#include "storage/statement.h"

#include <QCollator>
#include <QLocale>
#include <QSet>
#include <algorithm>

namespace {

// A column's name as a statement writes it.
QString col(const QString &tabella, int ordinale)
{
    return quotaNome(Schema::tabella(tabella)->colonne.at(ordinale).nome);
}

QString sqlRicetta()
{
    return QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
        .arg(col(Schema::Ricette, Schema::NomeRicetta),
             col(Schema::Ricette, Schema::NumeroPorzioni), quotaNome(Schema::Ricette),
             col(Schema::Ricette, Schema::IDRicetta));
}

QString sqlRighe()
{
    const QString &r = Schema::IngredientiRicetta;
    const QString &i = Schema::Ingredienti;
    return QStringLiteral("SELECT l.%1, i.%2, l.%3, l.%4 FROM %5 l LEFT JOIN %6 i ON i.%7 = l.%1 "
                          "WHERE l.%8 = ? ORDER BY l.%9")
        .arg(col(r, Schema::RigaIngrediente), col(i, Schema::Ingrediente), col(r, Schema::Quantita),
             col(r, Schema::Commenti), quotaNome(r), quotaNome(i), col(i, Schema::IDIngrediente),
             col(r, Schema::RigaRicetta), col(r, Schema::IDIngredienteRicetta));
}

} // namespace

ListaSpesa::ListaSpesa(const QString &libro) : libro_(libro), archivio_(libro)
{
    Database::osserva(libro_, this);
}

ListaSpesa::~ListaSpesa()
{
    Database::nonOsservare(libro_, this);
}

QString ListaSpesa::avviso()
{
    if (avvisato_)
        return {};
    avvisato_ = true;
    return archivio_.avviso();
}

std::shared_ptr<Database> ListaSpesa::apriLibro()
{
    // Kept between looks; opened again when something closed it (an import's restore).
    if (!db_ || !db_->aperto())
        db_ = Database::apri(libro_, Database::Modo::SolaLettura);
    return db_;
}

void ListaSpesa::rigaCambiata(const QString &, qint64)
{
    // Inside SQLite's hook: the book is read again later, from the event loop.
    if (segnalato_)
        return;
    segnalato_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            segnalato_ = false;
            emit libroCambiato();
        },
        Qt::QueuedConnection);
}

ListaSpesa::Ricetta ListaSpesa::ricetta(qint64 chiave)
{
    const std::shared_ptr<Database> db = apriLibro();
    Statement s(db->handle(), sqlRicetta(), libro_);
    return leggiRicetta(s, chiave);
}

ListaSpesa::Ricetta ListaSpesa::leggiRicetta(Statement &s, qint64 chiave)
{
    s.reset();
    s.bind(1, chiave);
    if (!s.step())
        return {};
    return {chiave, s.column(0).toString(), s.column(1).toInt()};
}

QList<ListaSpesa::Ricetta> ListaSpesa::ricette()
{
    const std::shared_ptr<Database> db = apriLibro();
    Statement nomi(db->handle(), Schema::Origine::ElencoAlfabetico, libro_);
    Statement porzioni(db->handle(), sqlRicetta(), libro_);
    QList<Ricetta> r;
    while (nomi.step()) {
        const qint64 chiave = nomi.column(1).toLongLong();
        porzioni.reset();
        porzioni.bind(1, chiave);
        r.append(
            {chiave, nomi.column(0).toString(), porzioni.step() ? porzioni.column(1).toInt() : 0});
    }
    return r;
}

void ListaSpesa::aggiungi(const QList<std::pair<qint64, int>> &ricette)
{
    const std::shared_ptr<Database> db = apriLibro();
    Statement lettura(db->handle(), sqlRicetta(), libro_);
    QList<Scelta> scelte;
    for (const auto &[chiave, porzioni] : ricette) {
        const Ricetta r = leggiRicetta(lettura, chiave);
        if (r.chiave == 0)
            continue;
        const int p = porzioni > 0 ? porzioni : r.porzioni > 0 ? r.porzioni : 4;
        scelte.append({0, chiave, r.nome, p});
    }
    archivio_.aggiungi(scelte);
    emit cambiata();
}

void ListaSpesa::togli(const QList<qint64> &posizioni)
{
    archivio_.togli(posizioni);
    emit cambiata();
}

void ListaSpesa::setPorzioni(qint64 posizione, int porzioni)
{
    archivio_.setPorzioni(posizione, porzioni);
    emit cambiata();
}

void ListaSpesa::setInCasa(qint64 ingrediente, bool inCasa)
{
    archivio_.setInCasa(ingrediente, inCasa);
    emit cambiata();
}

void ListaSpesa::setReparto(qint64 ingrediente, const QString &reparto)
{
    archivio_.setReparto(ingrediente, reparto);
    emit cambiata();
}

ListaSpesa::Stato ListaSpesa::leggi()
{
    Stato stato;
    const std::shared_ptr<Database> db = apriLibro();
    Statement ricetta(db->handle(), sqlRicetta(), libro_);
    Statement righe(db->handle(), sqlRighe(), libro_);
    QList<RicettaLetta> lette;
    QSet<qint64> sparite;
    for (Scelta s : archivio_.scelte()) {
        const Ricetta letta = leggiRicetta(ricetta, s.ricetta);
        if (letta.chiave == 0) {
            if (!sparite.contains(s.ricetta))
                stato.tolte << s.nome;
            sparite.insert(s.ricetta);
            continue;
        }
        if (letta.nome != s.nome) {
            archivio_.rinomina(s.ricetta, letta.nome);
            s.nome = letta.nome;
        }
        RicettaLetta r{s.ricetta, letta.nome, letta.porzioni, s.porzioni, {}};
        righe.reset();
        righe.bind(1, s.ricetta);
        while (righe.step())
            r.righe.append({righe.column(0).toLongLong(), righe.column(1).toString(),
                            righe.column(2).toString(), righe.column(3).toString()});
        lette.append(r);
        stato.scelte.append(s);
    }
    for (const qint64 chiave : sparite)
        archivio_.staccaRicetta(chiave);

    stato.voci = somma(lette);
    const QHash<qint64, QString> scelti = archivio_.reparti();
    const QSet<qint64> inCasa = archivio_.inCasa();
    for (Voce &v : stato.voci) {
        v.reparto = scelti.value(v.ingrediente, Reparti::indovina(v.nome));
        v.inCasa = inCasa.contains(v.ingrediente);
    }
    QCollator italiano{QLocale(QLocale::Italian, QLocale::Italy)};
    italiano.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(stato.voci.begin(), stato.voci.end(), [&](const Voce &a, const Voce &b) {
        const int ra = Reparti::ordine(a.reparto), rb = Reparti::ordine(b.reparto);
        return ra != rb ? ra < rb : italiano.compare(a.nome, b.nome) < 0;
    });
    return stato;
}

QList<Pasto> ListaSpesa::settimana()
{
    return archivio_.settimana();
}

void ListaSpesa::setPasto(const Pasto &p)
{
    archivio_.setPasto(p);
    emit cambiata();
}

void ListaSpesa::settimanaNuova()
{
    archivio_.svuotaSettimana();
    emit cambiata();
}

std::pair<QList<std::pair<qint64, int>>, QStringList> ListaSpesa::ricetteDellaSettimana()
{
    const std::shared_ptr<Database> db = apriLibro();
    Statement lettura(db->handle(), sqlRicetta(), libro_);
    QList<std::pair<qint64, int>> ricette;
    QStringList senza;
    for (const Pasto &p : archivio_.settimana()) {
        if (p.ricetta != 0 && leggiRicetta(lettura, p.ricetta).chiave != 0)
            ricette.append({p.ricetta, p.porzioni});
        else
            senza << p.nome;
    }
    return {ricette, senza};
}
