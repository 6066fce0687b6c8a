#include "formati/ricettaestera.h"

#include "storage/database.h"
#include "storage/statement.h"

#include <QFile>
#include <QHash>

namespace LibroSorgente {

namespace {

// One key per name, without regard to capitals, inserted the first time it is met.
class Chiavi
{
public:
    Chiavi(Database &db, const QString &tabella, const QString &colonna)
        : db_(db),
          inserisci_(db.handle(),
                     QStringLiteral("INSERT INTO %1 (%2) VALUES (?)")
                         .arg(quotaNome(tabella), quotaNome(colonna)),
                     db.percorso())
    {
    }

    QVariant di(const QString &nome)
    {
        if (nome.isEmpty())
            return {};
        const QString chiave = nome.toCaseFolded();
        if (const auto it = chiavi_.constFind(chiave); it != chiavi_.cend())
            return *it;
        inserisci_.reset();
        inserisci_.bind(1, nome).step();
        const qint64 id = db_.ultimaChiave();
        chiavi_.insert(chiave, id);
        return id;
    }

private:
    Database &db_;
    Statement inserisci_;
    QHash<QString, qint64> chiavi_;
};

void scriviRicette(Database &db, const QList<RicettaEstera> &ricette)
{
    Chiavi categorie(db, "Categorie alimentari", "CategoriaAlimentare");
    Chiavi ingredienti(db, "Ingredienti", "Ingrediente");
    Statement ricetta(db.handle(),
                      "INSERT INTO \"Ricette\" (\"NomeRicetta\", \"DescrizioneRicetta\", "
                      "\"Preparata_da\", \"TipoPasto\", \"IDCategoriaAlimentare\", \"Vegetariana\", "
                      "\"TempoPreparazione\", \"NumeroPorzioni\", \"CaloriePerPorzione\", "
                      "\"InformazioniNutrizionali\", \"Ingredienti\", \"Istruzioni\", \"Note\", "
                      "\"Utensili\") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                      db.percorso());
    Statement riga(db.handle(),
                   "INSERT INTO \"ingredienti_ricetta\" (\"IDRicetta\", \"IDIngrediente\", "
                   "\"Quantità\", \"Commenti\") VALUES (?,?,?,?)",
                   db.percorso());
    // Empty texts are stored as no value, as the editor leaves an empty box.
    const auto testo = [](const QString &s) { return s.isEmpty() ? QVariant() : QVariant(s); };
    for (const RicettaEstera &r : ricette) {
        ricetta.reset();
        ricetta.bindAll({testo(r.nome), testo(r.descrizione), testo(r.preparataDa),
                         testo(r.tipoPasto), categorie.di(r.categoria),
                         r.vegetariana ? -1 : 0, testo(r.tempo), r.porzioni,
                         r.calorie > 0 ? QVariant(r.calorie) : QVariant(), testo(r.informazioni),
                         testo(r.ingredientiTesto), testo(r.istruzioni), testo(r.note),
                         testo(r.utensili)});
        ricetta.step();
        const qint64 id = db.ultimaChiave();
        for (const RigaEstera &l : r.righe) {
            riga.reset();
            riga.bindAll({id, ingredienti.di(l.ingrediente), testo(l.quantita), testo(l.commento)});
            riga.step();
        }
    }
}

} // namespace

void scrivi(const QString &percorso, const QList<RicettaEstera> &ricette)
{
    try {
        auto db = Database::crea(percorso);
        Database::Transazione t(*db);
        scriviRicette(*db, ricette);
        t.commit();
        db->Close();
    } catch (...) {
        QFile::remove(percorso);
        QFile::remove(percorso + "-journal");
        throw;
    }
}

} // namespace LibroSorgente
