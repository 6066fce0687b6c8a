#include "import/elenconomi.h"

static_assert(ElencoNomi::ColonnaChiave == Schema::IDRicetta &&
              ElencoNomi::ColonnaChiave == Schema::IDIngrediente);
static_assert(ElencoNomi::ColonnaNome == Schema::NomeRicetta &&
              ElencoNomi::ColonnaNome == Schema::Ingrediente);

void ElencoNomi::aggiungi(qint64 chiave, const QString &nome)
{
    const int i = int(voci_.size());
    voci_.append({chiave, nome, nome.toUpper()});
    // An empty name is never compared.
    if (!nome.isEmpty())
        perIniziale_[voci_.last().maiuscolo.at(0)].append(i);
}

void ElencoNomi::svuota()
{
    voci_.clear();
    perIniziale_.clear();
}

int ElencoNomi::primoSimile(const QString &nome, Somiglianza &esito) const
{
    esito = Somiglianza::Nessuna;
    if (nome.isEmpty())
        return -1;
    const QString a = nome.toUpper();
    for (const int i : perIniziale_.value(a.at(0))) {
        const Voce &v = voci_.at(i);
        const Somiglianza s = confrontaMaiuscoli(a, v.maiuscolo, nome.size(), v.nome.size());
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
    for (const int i : perIniziale_.value(a.at(0))) {
        const Voce &v = voci_.at(i);
        const Somiglianza s = confrontaMaiuscoli(a, v.maiuscolo, nome.size(), v.nome.size());
        if (s == Somiglianza::Identico) {
            identico = i;
            return;
        }
        if (s == Somiglianza::Simile)
            ultimoSimile = i;
    }
}
