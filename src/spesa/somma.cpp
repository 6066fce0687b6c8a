#include "spesa/somma.h"

#include "spesa/misure.h"
#include "toolkit/porzioni.h"

#include <QHash>
#include <cmath>

namespace {

// What the lines of one ingredient want, added up measure by measure.
class Quantita
{
public:
    void aggiungi(const RicettaLetta::Riga &riga, double fattore)
    {
        double q = 0;
        if (!Porzioni::leggiQuantita(riga.quantita, q)) {
            // A text that is no number ("2-3") is written as it is, once.
            const QString t = riga.quantita.trimmed();
            if (t.isEmpty())
                qb_ = true;
            else
                aggiungiTesto(Misure::daCommento(riga.commento).unita.isEmpty()
                                  ? t
                                  : t + u' ' + riga.commento.trimmed().section(u' ', 0, 0));
            return;
        }
        // The editor converts only when the portions differ; so does the list.
        const double x = fattore == 1 ? q : Porzioni::convertiQuantita(q, fattore);
        if (x <= 0 || !std::isfinite(x)) {
            qb_ = true;
            return;
        }
        const Misure::Misura m = Misure::daCommento(riga.commento);
        for (Parte &p : parti_)
            if (p.famiglia == m.famiglia) {
                p.valore += x * m.fattore;
                if (p.unitaSola != m.unita)
                    p.unitaSola.clear();
                return;
            }
        parti_.append({m.famiglia, m.unita, x * m.fattore});
    }

    QString testo() const
    {
        QStringList t;
        for (const Parte &p : parti_)
            t << Misure::scrivi(p.valore, p.famiglia, p.unitaSola);
        t << testi_;
        if (qb_ && !t.isEmpty())
            t << QStringLiteral("q.b.");
        return t.join(QStringLiteral(" + "));
    }

private:
    void aggiungiTesto(const QString &t)
    {
        if (!testi_.contains(t))
            testi_ << t;
    }

    struct Parte
    {
        QString famiglia;
        QString unitaSola; // the one unit every line of it used; empty once they differ
        double valore = 0;
    };
    QList<Parte> parti_;
    QStringList testi_;
    bool qb_ = false;
};

} // namespace

QString Voce::testo() const
{
    return quantita.isEmpty() ? nome : nome + QStringLiteral(": ") + quantita;
}

QList<Voce> somma(const QList<RicettaLetta> &ricette)
{
    QList<Voce> voci;
    QList<Quantita> totali;
    QHash<qint64, qsizetype> posto;
    for (const RicettaLetta &r : ricette) {
        const double fattore =
            r.porzioniLibro > 0 && r.porzioni > 0 ? double(r.porzioni) / r.porzioniLibro : 1;
        // This recipe's own share of each ingredient, for "which recipes want it".
        QList<qint64> ordine;
        QHash<qint64, Quantita> suo;
        for (const RicettaLetta::Riga &riga : r.righe) {
            qsizetype i = posto.value(riga.ingrediente, -1);
            if (i < 0) {
                i = voci.size();
                posto.insert(riga.ingrediente, i);
                voci.append({riga.ingrediente, riga.nome, {}, {}, {}, false});
                totali.append(Quantita());
            }
            totali[i].aggiungi(riga, fattore);
            if (!suo.contains(riga.ingrediente))
                ordine << riga.ingrediente;
            suo[riga.ingrediente].aggiungi(riga, fattore);
        }
        for (const qint64 ingrediente : ordine) {
            const QString q = suo.value(ingrediente).testo();
            voci[posto.value(ingrediente)].perChi
                << (q.isEmpty() ? r.nome : QStringLiteral("%1 (%2)").arg(r.nome, q));
        }
    }
    for (qsizetype i = 0; i < voci.size(); ++i)
        voci[i].quantita = totali.at(i).testo();
    return voci;
}
