#include "import/elenconomi.h"

#include <limits>

static_assert(ElencoNomi::ColonnaChiave == Schema::IDRicetta &&
              ElencoNomi::ColonnaChiave == Schema::IDIngrediente);
static_assert(ElencoNomi::ColonnaNome == Schema::NomeRicetta &&
              ElencoNomi::ColonnaNome == Schema::Ingrediente);

void ElencoNomi::aggiungi(qint64 chiave, const QString &nome)
{
    const int i = int(voci_.size());
    voci_.append({chiave, nome, nome.toUpper()});
    // An empty name is never compared.
    if (!nome.isEmpty()) {
        perIniziale_[voci_.last().maiuscolo.at(0)].append(i);
        if (!primoUguale_.contains(voci_.last().maiuscolo))
            primoUguale_.insert(voci_.last().maiuscolo, i);
    }
}

void ElencoNomi::svuota()
{
    voci_.clear();
    perIniziale_.clear();
    primoUguale_.clear();
}

Somiglianza ElencoNomi::confronta(const QString &a, qsizetype la, int i) const
{
    const Voce &v = voci_.at(i);
    const qsizetype lb = v.nome.size();
    // Agreeing positions are at most the shorter length: over the longer one that is no more
    // than 3/5, neither identical nor similar.
    if (qMin(la, lb) * 5 <= qMax(la, lb) * 3)
        return Somiglianza::Indefinito;
    return confrontaMaiuscoli(a, v.maiuscolo, la, lb);
}

int ElencoNomi::primoSimile(const QString &nome, Somiglianza &esito) const
{
    esito = Somiglianza::Nessuna;
    if (nome.isEmpty())
        return -1;
    const QString a = nome.toUpper();
    // Rows after the first identical one need no look: it decides, unless a similar comes first.
    int ultima = std::numeric_limits<int>::max();
    if (const auto uguale = primoUguale_.constFind(a);
        uguale != primoUguale_.cend() &&
        confronta(a, nome.size(), *uguale) == Somiglianza::Identico)
        ultima = *uguale;
    for (const int i : perIniziale_.value(a.at(0))) {
        if (i > ultima)
            break;
        const Somiglianza s = confronta(a, nome.size(), i);
        if (s == Somiglianza::Identico || s == Somiglianza::Simile) {
            esito = s;
            return i;
        }
    }
    return -1;
}

void ElencoNomi::scandisci(const QString &nome, int &identico, int &ultimoSimile) const
{
    identico = ultimoSimile = -1;
    if (nome.isEmpty())
        return;
    const QString a = nome.toUpper();
    // An identical name anywhere wins, and the first one is kept aside.
    if (const auto uguale = primoUguale_.constFind(a);
        uguale != primoUguale_.cend() &&
        confronta(a, nome.size(), *uguale) == Somiglianza::Identico) {
        identico = *uguale;
        return;
    }
    for (const int i : perIniziale_.value(a.at(0))) {
        const Somiglianza s = confronta(a, nome.size(), i);
        if (s == Somiglianza::Identico) {
            identico = i;
            return;
        }
        if (s == Somiglianza::Simile)
            ultimoSimile = i;
    }
}
