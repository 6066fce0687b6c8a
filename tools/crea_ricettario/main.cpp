// Writes the template book "Ricetta" (empty tables, the common categories) and the sample book,
// both from the format the program reads.
#include "storage/database.h"
#include "storage/engineerror.h"
#include "storage/schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

QJsonObject contenuto()
{
    QFile f(":/ricettario_esempio.json");
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("sample content missing");
    return QJsonDocument::fromJson(f.readAll()).object();
}

QHash<QString, qint64> scriviCategorie(Database &db, const QJsonArray &categorie)
{
    QHash<QString, qint64> chiavi;
    for (const QJsonValue &c : categorie) {
        db.esegui("INSERT INTO \"Categorie alimentari\" (\"CategoriaAlimentare\") VALUES (?)",
                  {c.toString()});
        chiavi.insert(c.toString(), db.ultimaChiave());
    }
    return chiavi;
}

void scriviModello(const QString &percorso, const QJsonObject &dati)
{
    auto db = Database::crea(percorso);
    Database::Transazione t(*db);
    scriviCategorie(*db, dati["categorie"].toArray());
    t.commit();
}

void scriviEsempio(const QString &percorso, const QJsonObject &dati)
{
    auto db = Database::crea(percorso);
    Database::Transazione t(*db);
    const QHash<QString, qint64> categorie = scriviCategorie(*db, dati["categorie"].toArray());
    QHash<QString, qint64> ingredienti;
    for (const QJsonValue &v : dati["ricette"].toArray()) {
        const QJsonObject r = v.toObject();
        db->esegui(
            "INSERT INTO \"Ricette\" (\"NomeRicetta\", \"DescrizioneRicetta\", \"Preparata_da\", "
            "\"TipoPasto\", \"IDCategoriaAlimentare\", \"Vegetariana\", \"TempoPreparazione\", "
            "\"NumeroPorzioni\", \"CaloriePerPorzione\", \"InformazioniNutrizionali\", "
            "\"Ingredienti\", \"Istruzioni\", \"Note\", \"Utensili\") "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {r["nome"].toString(), r["descrizione"].toString(), r["preparata_da"].toString(),
             r["tipo_pasto"].toString(), categorie.value(r["categoria"].toString()),
             r["vegetariana"].toBool() ? Schema::Si : Schema::No, r["tempo"].toString(),
             r["porzioni"].toInt(), r["calorie"].toInt(), r["informazioni"].toString(),
             r["ingredienti_testo"].toString(), r["istruzioni"].toString(), r["note"].toString(),
             r["utensili"].toString()});
        const qint64 ricetta = db->ultimaChiave();
        for (const QJsonValue &l : r["righe"].toArray()) {
            const QJsonObject riga = l.toObject();
            const QString nome = riga["ingrediente"].toString();
            if (!ingredienti.contains(nome)) {
                db->esegui("INSERT INTO \"Ingredienti\" (\"Ingrediente\") VALUES (?)", {nome});
                ingredienti.insert(nome, db->ultimaChiave());
            }
            db->esegui("INSERT INTO \"ingredienti_ricetta\" (\"IDRicetta\", \"IDIngrediente\", "
                       "\"Quantità\", \"Commenti\") VALUES (?, ?, ?, ?)",
                       {ricetta, ingredienti.value(nome), riga["quantita"].toString(),
                        riga["commento"].toString()});
        }
    }
    t.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 3) {
        err << "uso: crea_ricettario MODELLO ESEMPIO\n"
               "  scrive il modello vuoto (Ricetta) e il ricettario di esempio (Ricette.mdb)\n";
        return 2;
    }
    try {
        const QJsonObject dati = contenuto();
        scriviModello(QString::fromLocal8Bit(argv[1]), dati);
        scriviEsempio(QString::fromLocal8Bit(argv[2]), dati);
    } catch (const EngineError &e) {
        err << e.description() << '\n';
        return 1;
    } catch (const std::exception &e) {
        err << e.what() << '\n';
        return 1;
    }
    return 0;
}
