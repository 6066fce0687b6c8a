// The Find family (a walk over the set in its order, or a seek where the set's order answers),
// and a whole column read at once.
#include "storage/recordset.h"

#include "storage/criteria.h"
#include "storage/database.h"
#include "storage/statement.h"

// The first row from the start satisfying "column >= text" or "column > text" where the rows
// stand in that column's Italian order: the rows that satisfy it all follow those that do not,
// so a halving search over the positions finds the one a walk would, reading one value a probe.
// -2 when the criterion or the set's state allows no seek.
int Recordset::primoDaSeek(const Criterio &criterio, int ordinale) const
{
    const bool crescente = criterio.operatore() == Criterio::Operatore::MaggioreUguale ||
                           criterio.operatore() == Criterio::Operatore::Maggiore;
    if (!inOrdine(ordinale) || !crescente || criterio.valore().typeId() != QMetaType::QString)
        return -2;
    Statement valore(db_->handle(),
                     QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                         .arg(quotaNome(colonne_[ordinale].origine), quotaNome(tabella_),
                              quotaNome(colonne_[colonnaChiave_].origine)),
                     db_->percorso());
    int basso = 0, alto = righe_.size(); // the answer lies in [basso, alto]
    while (basso < alto) {
        const int mezzo = basso + (alto - basso) / 2;
        valore.reset();
        valore.bind(1, righe_.chiave(mezzo));
        const QVariant v = valore.step() ? valore.column(0) : QVariant();
        if (criterio.soddisfattoDa(v))
            alto = mezzo;
        else
            basso = mezzo + 1;
    }
    return basso < righe_.size() ? basso : -1;
}

void Recordset::cerca(const QString &testo, int da)
{
    const Criterio criterio = Criterio::analizza(testo);
    const int ordinale = ordinal(criterio.colonna());
    seguiIlLibro();
    if (!avvisa(Azione::Ricerca)) {
        noMatch_ = false; // nothing was searched: no answer from an earlier find stays
        return;
    }
    if (da == 0) {
        if (const int p = primoDaSeek(criterio, ordinale); p != -2) {
            noMatch_ = p < 0;
            if (p >= 0)
                vaiAl(p);
            return;
        }
    }
    // On the key column a row's value is known without reading it: the rows whose key cannot
    // satisfy the criterion are passed over, and only a candidate is read (it may be gone).
    const bool perChiave = ordinale == colonnaChiave_;
    // A key is in one row at most: the first find of "key = n" looks it up.
    if (perChiave && da == 0 && criterio.operatore() == Criterio::Operatore::Uguale &&
        criterio.valore().typeId() != QMetaType::QString) {
        const int p = righe_.posizioneDi(qint64(criterio.valore().toDouble()));
        noMatch_ =
            p < 0 || !righe_.leggi(p, 1) || !criterio.soddisfattoDa(righe_.valore(p, ordinale));
        if (!noMatch_)
            vaiAl(p);
        return;
    }
    for (int p = da; p < righe_.size(); ++p) {
        if (perChiave && !criterio.soddisfattoDa(QVariant(righe_.chiave(p))))
            continue;
        if (criterio.soddisfattoDa(valoreAlPosto(p, ordinale))) {
            noMatch_ = false;
            vaiAl(p);
            return;
        }
    }
    noMatch_ = true;
}

void Recordset::FindFirst(const QString &criterio)
{
    cerca(criterio, 0);
}

void Recordset::FindNext(const QString &criterio)
{
    cerca(criterio, eliminata_ ? posizione_ : posizione_ + 1);
}

QVariantList Recordset::colonnaIntera(int ordinale)
{
    controllaOrdinale(ordinale);
    seguiIlLibro();
    if (ordinale == ordinatoPer_ && ordine_ && ordine_->valori.size() == righe_.size() &&
        ordine_->versione == db_->versione(tabella_))
        return ordine_->valori; // read by the sort, and nothing written since
    QVariantList valori;
    valori.reserve(righe_.size());
    if (colonnaChiave_ < 0) {
        for (int p = 0; p < righe_.size(); ++p)
            valori << valoreAlPosto(p, ordinale);
        return valori;
    }
    QHash<qint64, QVariant> perChiave;
    Statement s(db_->handle(),
                QStringLiteral("SELECT %1, %2 FROM %3")
                    .arg(quotaNome(colonne_[colonnaChiave_].origine),
                         quotaNome(colonne_[ordinale].origine), quotaNome(tabella_)),
                db_->percorso());
    while (s.step())
        perChiave.insert(s.column(0).toLongLong(), s.column(1));
    for (int p = 0; p < righe_.size(); ++p)
        valori << perChiave.value(righe_.chiave(p));
    return valori;
}
