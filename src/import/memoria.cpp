#include "import/memoria.h"

#include "storage/recordset.h"
#include "storage/schema.h"

void MemoriaImportazione::nuovaImportazione()
{
    risposte_.clear();
    scelte_.clear();
    resoconto_ = {};
}

void MemoriaImportazione::dimenticaLibri()
{
    for (bool &letti : nomiLetti_)
        letti = false;
    righeLette_ = ingredientiLetti_ = false;
    righePerRicetta_.clear();
    ingredientiSorgente_.clear();
}

std::optional<Dialogs::Risposta> MemoriaImportazione::risposta(Domanda d) const
{
    if (const auto r = risposte_.constFind(d); r != risposte_.cend())
        return *r;
    return std::nullopt;
}

void MemoriaImportazione::fissaRisposta(Domanda d, Dialogs::Risposta r)
{
    risposte_.insert(d, r);
}

std::optional<qint64> MemoriaImportazione::scelta(const QString &per) const
{
    if (const auto s = scelte_.constFind(per); s != scelte_.cend())
        return *s;
    return std::nullopt;
}

void MemoriaImportazione::fissaScelta(const QString &per, qint64 chiave)
{
    scelte_.insert(per, chiave);
}

ElencoNomi &MemoriaImportazione::nomi(Nomi quali, Recordset &tabella)
{
    const int i = int(quali);
    if (!nomiLetti_[i]) {
        nomi_[i].svuota();
        for (int p = 0; p < tabella.RecordCount(); ++p)
            nomi_[i].aggiungi(tabella.valoreAlPosto(p, ElencoNomi::ColonnaChiave).toLongLong(),
                              tabella.valoreAlPosto(p, ElencoNomi::ColonnaNome).toString());
        nomiLetti_[i] = true;
    }
    return nomi_[i];
}

void MemoriaImportazione::aggiunto(Nomi quali, qint64 chiave, const QString &nome)
{
    nomi_[int(quali)].aggiungi(chiave, nome);
    ++(quali == Nomi::Ricette     ? resoconto_.importate
       : quali == Nomi::Categorie ? resoconto_.categorie
                                  : resoconto_.ingredienti);
}

const QList<int> &MemoriaImportazione::righeSorgente(qint64 ricetta, Recordset &righe)
{
    if (!righeLette_) {
        righePerRicetta_.clear();
        for (int p = 0; p < righe.RecordCount(); ++p)
            righePerRicetta_[righe.valoreAlPosto(p, Schema::RigaRicetta).toLongLong()].append(p);
        righeLette_ = true;
    }
    return righePerRicetta_[ricetta];
}

std::optional<QString> MemoriaImportazione::ingredienteSorgente(qint64 chiave,
                                                                Recordset &ingredienti)
{
    if (!ingredientiLetti_) {
        ingredientiSorgente_.clear();
        for (int p = 0; p < ingredienti.RecordCount(); ++p)
            ingredientiSorgente_.insert(
                ingredienti.valoreAlPosto(p, Schema::IDIngrediente).toLongLong(),
                ingredienti.valoreAlPosto(p, Schema::Ingrediente).toString());
        ingredientiLetti_ = true;
    }
    if (const auto nome = ingredientiSorgente_.constFind(chiave);
        nome != ingredientiSorgente_.cend())
        return *nome;
    return std::nullopt;
}

QString MemoriaImportazione::completata() const
{
    const Resoconto &r = resoconto_;
    return righe({"Importazione completata", "",
                  QStringLiteral("Ricette importate: %1").arg(r.importate),
                  QStringLiteral("Ricette saltate: %1").arg(r.saltate),
                  QStringLiteral("Ricette rinominate: %1").arg(r.rinominate),
                  QStringLiteral("Ingredienti aggiunti: %1").arg(r.ingredienti),
                  QStringLiteral("Categorie alimentari aggiunte: %1").arg(r.categorie)});
}
