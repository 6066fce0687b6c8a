// "Cosa cucino con...": the recipes by the share of their ingredient lines the cook has.
#include "cerca/indice.h"

#include "storage/collation.h"
#include "storage/statement.h"

#include <algorithm>

namespace {

// Capitals and accents do not count: "Ragù" is "ragu".
QString piega(const QString &s)
{
    QString d = s.normalized(QString::NormalizationForm_D);
    d.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return d.toCaseFolded();
}

// What the cook typed without its last vowel, so one or many match alike: "uova" finds
// "Uovo", "pomodori" "Pomodoro". A short word stays whole.
QString radice(const QString &s)
{
    static const QString Vocali = QStringLiteral("aeiou");
    return s.size() > 3 && Vocali.contains(s.back()) ? s.chopped(1) : s;
}

} // namespace

QList<IndiceRicette::Risultato> IndiceRicette::cosaCucino(const QStringList &dispensa,
                                                          const Filtro &filtro, int massimo)
{
    QStringList cercati;
    for (const QString &d : dispensa)
        if (const QString p = radice(piega(d.simplified())); !p.isEmpty())
            cercati.append(p);
    Statement(db_, "DELETE FROM dispensa").step();
    Statement metti(db_, "INSERT INTO dispensa (id) VALUES (?)");
    for (auto i = ingredienti_.cbegin(); i != ingredienti_.cend(); ++i) {
        const QString nome = piega(i.value());
        if (std::any_of(cercati.cbegin(), cercati.cend(),
                        [&](const QString &c) { return nome.startsWith(c); })) {
            metti.reset();
            metti.bind(1, i.key()).step();
        }
    }
    Statement s(
        db_, "SELECT g.ricetta, x.nome, x.categoria, x.vegetariana, g.coperte, g.tutte FROM "
             "(SELECT ricetta, sum(ingrediente IN dispensa) AS coperte, count(*) AS tutte "
             " FROM riga WHERE ricetta IN (SELECT ricetta FROM riga WHERE ingrediente IN dispensa) "
             " GROUP BY ricetta) g JOIN ricetta x ON x.id = g.ricetta "
             "WHERE (?1 = 0 OR x.vegetariana <> 0) AND (?2 = 0 OR x.categoria = ?2) "
             "ORDER BY g.tutte - g.coperte, g.coperte DESC, x.nome COLLATE ITALIANO "
             "LIMIT ?3");
    s.bindAll({filtro.soloVegetariane, filtro.categoria, massimo});
    QList<Risultato> risultati;
    while (s.step()) {
        Risultato r{s.column(0).toLongLong(), s.column(1).toString(),
                    categorie_.value(s.column(2).toLongLong()), s.column(3).toBool()};
        r.coperte = s.column(4).toInt();
        r.righe = s.column(5).toInt();
        risultati.append(r);
    }
    Statement mancano(db_, "SELECT ingrediente FROM riga WHERE ricetta = ? "
                           "AND ingrediente NOT IN dispensa ORDER BY id");
    for (Risultato &r : risultati) {
        mancano.reset();
        mancano.bind(1, r.chiave);
        while (mancano.step())
            if (const QString nome = ingredienti_.value(mancano.column(0).toLongLong());
                !r.mancanti.contains(nome))
                r.mancanti.append(nome);
    }
    return risultati;
}

QStringList IndiceRicette::nomiIngredienti() const
{
    QStringList nomi = ingredienti_.values();
    std::sort(nomi.begin(), nomi.end(),
              [](const QString &a, const QString &b) { return Collazione::confronta(a, b) < 0; });
    nomi.removeDuplicates();
    return nomi;
}
