#pragma once
// What the benchmarks share to write generated books: Italian sentences, a random choice, and a
// new book filled in one transaction. An engine error ends the benchmark with its description.
#include "storage/database.h"
#include "storage/statement.h"

#include <QRandomGenerator>
#include <QStringList>
#include <memory>

namespace {

const QStringList frasi = {
    "Mettete l'acqua sul fuoco e portatela a bollore prima di salarla.",
    "Tagliate le verdure a dadini regolari, così cuoceranno tutte nello stesso tempo.",
    "Fate soffriggere la cipolla in poco olio finché diventa trasparente.",
    "Unite il brodo caldo un mestolo alla volta, mescolando con pazienza.",
    "Aggiustate di sale e pepe, poi lasciate riposare qualche minuto.",
    "Infornate a 180 gradi per circa mezz'ora, finché la superficie è dorata.",
    "Servite subito, con una spolverata di formaggio grattugiato e un filo d'olio.",
    "Se l'impasto è troppo morbido aggiungete un cucchiaio di farina.",
    "Montate gli albumi a neve ben ferma e incorporateli con delicatezza.",
    "Scolate la pasta al dente e saltatela in padella con il condimento."};

inline QString scegli(QRandomGenerator &caso, const QStringList &l)
{
    return l.at(int(caso.bounded(l.size())));
}

inline QString testo(QRandomGenerator &caso, int lunghezza)
{
    QString t;
    while (t.size() < lunghezza)
        t += scegli(caso, frasi) + ' ';
    return t.left(lunghezza).trimmed();
}

// A new empty book written by statements of our own in one transaction, committed by concludi():
// a write through the layer's sets would commit row by row.
class LibroGenerato
{
public:
    explicit LibroGenerato(const QString &percorso) : db_(Database::crea(percorso))
    {
        transazione_ = std::make_unique<Database::Transazione>(*db_);
    }
    sqlite3 *handle() const { return db_->handle(); }
    void esegui(const QString &sql) { db_->esegui(sql); }
    qint64 ultimaChiave() const { return db_->ultimaChiave(); }
    void concludi()
    {
        transazione_->commit();
        transazione_.reset();
        db_->Close();
    }

private:
    std::shared_ptr<Database> db_;
    std::unique_ptr<Database::Transazione> transazione_;
};

// One row: the values bound in order, the statement run.
inline void scriviRiga(Statement &s, const QVariantList &valori)
{
    s.reset();
    s.bindAll(valori).step();
}

constexpr int NumeroRicette = 10000;
constexpr int NumeroIngredienti = 3000;
constexpr int RighePerRicetta = 6;

const QStringList basi = {"Farina 00",
                          "Farina di farro",
                          "Farina di castagne",
                          "Semola rimacinata",
                          "Zucchero",
                          "Zucchero di canna",
                          "Sale grosso",
                          "Sale fino",
                          "Pepe nero",
                          "Uova",
                          "Burro",
                          "Latte intero",
                          "Panna fresca",
                          "Parmigiano",
                          "Pecorino",
                          "Ricotta",
                          "Mozzarella",
                          "Gorgonzola",
                          "Mascarpone",
                          "Stracchino",
                          "Olio extravergine",
                          "Aceto di vino",
                          "Aceto balsamico",
                          "Aglio",
                          "Cipolla",
                          "Cipolla rossa",
                          "Scalogno",
                          "Porro",
                          "Carota",
                          "Sedano",
                          "Prezzemolo",
                          "Basilico",
                          "Rosmarino",
                          "Salvia",
                          "Timo",
                          "Alloro",
                          "Origano",
                          "Maggiorana",
                          "Menta",
                          "Pomodori",
                          "Pomodorini",
                          "Passata di pomodoro",
                          "Concentrato di pomodoro",
                          "Melanzane",
                          "Zucchine",
                          "Peperoni",
                          "Patate",
                          "Zucca",
                          "Spinaci",
                          "Bietole",
                          "Carciofi",
                          "Funghi porcini",
                          "Funghi champignon",
                          "Piselli",
                          "Fave",
                          "Ceci",
                          "Lenticchie",
                          "Fagioli borlotti",
                          "Fagioli cannellini",
                          "Cavolfiore",
                          "Broccoli",
                          "Cavolo nero",
                          "Radicchio",
                          "Rucola",
                          "Lattuga",
                          "Finocchi",
                          "Asparagi",
                          "Limoni",
                          "Arance",
                          "Mele",
                          "Pere",
                          "Fragole",
                          "Ciliegie",
                          "Pesche",
                          "Uva passa",
                          "Pinoli",
                          "Noci",
                          "Nocciole",
                          "Mandorle",
                          "Pistacchi",
                          "Riso Carnaroli",
                          "Riso Arborio",
                          "Spaghetti",
                          "Penne rigate",
                          "Tagliatelle",
                          "Pane raffermo",
                          "Pangrattato",
                          "Lievito di birra",
                          "Lievito per dolci",
                          "Cacao amaro",
                          "Cioccolato fondente",
                          "Miele",
                          "Vino bianco",
                          "Vino rosso",
                          "Brodo vegetale",
                          "Acciughe",
                          "Tonno",
                          "Baccalà",
                          "Vongole",
                          "Cozze",
                          "Gamberi",
                          "Calamari",
                          "Petto di pollo",
                          "Carne macinata",
                          "Salsiccia",
                          "Pancetta",
                          "Guanciale",
                          "Prosciutto crudo",
                          "Prosciutto cotto",
                          "Speck",
                          "Noce moscata",
                          "Cannella",
                          "Zafferano",
                          "Peperoncino",
                          "Capperi",
                          "Olive nere"};
const QStringList provenienze = {"",
                                 " bio",
                                 " di stagione",
                                 " del contadino",
                                 " dell'orto",
                                 " a km zero",
                                 " del mercato",
                                 " di Bronte",
                                 " di Pachino",
                                 " di Tropea",
                                 " di Modena",
                                 " di Parma",
                                 " di Norcia",
                                 " di Alba",
                                 " di Amalfi",
                                 " di Sorrento",
                                 " di Chioggia",
                                 " di Treviso",
                                 " di Altamura",
                                 " di Gragnano",
                                 " di Pantelleria",
                                 " di Cetara",
                                 " di Mantova",
                                 " di Siena",
                                 " di Lucca",
                                 " di Ascoli",
                                 " di Bra",
                                 " di Castelluccio",
                                 " di Colonnata",
                                 " di Sicilia"};
const QStringList piatti = {"Risotto",  "Pasta",      "Zuppa",     "Torta",        "Frittata",
                            "Crostata", "Polpette",   "Insalata",  "Gnocchi",      "Lasagne",
                            "Tortelli", "Sformato",   "Vellutata", "Biscotti",     "Panzerotti",
                            "Focaccia", "Minestrone", "Involtini", "Torta salata", "Ravioli"};
const QStringList con = {"funghi porcini", "zucca",   "ceci",      "melanzane", "pomodori",
                         "spinaci",        "ricotta", "pistacchi", "carciofi",  "nocciole",
                         "baccalà",        "limone",  "mele",      "patate",    "porri",
                         "salsiccia",      "vongole", "radicchio", "asparagi",  "noci"};
const QStringList luoghi = {"alla genovese", "all'emiliana",  "di nonna Lù", "alla ligure",
                            "al forno",      "della vigilia", "di Città",    "alla pugliese",
                            "in agrodolce",  "più semplice",  "all'antica",  "del venerdì"};
const QStringList quantita = {"200", "0.5", "3",  "1",    "250", "1.5",
                              "100", "2",   "50", "0.25", "500", "4"};
const QStringList commenti = {"g",          "ml",       "tritati",     "a temperatura ambiente",
                              "un pizzico", "a dadini", "grattugiato", " ",
                              "spicchi",    "cucchiai", "q.b.",        "a fettine sottili"};

// The large book the benchmarks share: 10,000 recipes, 3,000 ingredients, 60,000 lines (or as
// many recipes as asked, six lines each).
inline void libroGrande(const QString &percorso, int numeroRicette = NumeroRicette)
{
    LibroGenerato libro(percorso);
    Statement categoria(libro.handle(),
                        "INSERT INTO \"Categorie alimentari\" (CategoriaAlimentare) VALUES (?)");
    const QStringList categorie = {"Antipasti",        "Primi piatti", "Secondi di carne",
                                   "Secondi di pesce", "Contorni",     "Dolci",
                                   "Pane e pizze",     "Conserve"};
    for (const QString &c : categorie)
        scriviRiga(categoria, {c});

    Statement ingrediente(libro.handle(), "INSERT INTO Ingredienti (Ingrediente) VALUES (?)");
    for (int i = 0; i < NumeroIngredienti; ++i)
        scriviRiga(ingrediente, {basi.at(i % basi.size()) +
                                 provenienze.at((i / basi.size()) % provenienze.size())});

    Statement ricetta(
        libro.handle(),
        "INSERT INTO Ricette (NomeRicetta, DescrizioneRicetta, Preparata_da, "
        "TipoPasto, IDCategoriaAlimentare, Vegetariana, TempoPreparazione, "
        "NumeroPorzioni, CaloriePerPorzione, InformazioniNutrizionali, Ingredienti, "
        "Istruzioni, Note, Utensili) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Statement riga(libro.handle(), "INSERT INTO ingredienti_ricetta (IDRicetta, IDIngrediente, "
                                   "\"Quantità\", Commenti) VALUES (?, ?, ?, ?)");
    QRandomGenerator caso(2024);
    for (int i = 0; i < numeroRicette; ++i) {
        const QString nome =
            scegli(caso, piatti) + " con " + scegli(caso, con) + ' ' + scegli(caso, luoghi);
        // Braces run their values in order: the book is the same at every run.
        scriviRiga(ricetta,
                   {nome.left(50), testo(caso, 120),
                    scegli(caso, {"Nonna Lucia", "Zia Mariù", "Francesco", "Chiara Bò"}),
                    scegli(caso, {"Pranzo", "Cena", "Merenda", "Colazione"}),
                    qint64(1 + caso.bounded(int(categorie.size()))), caso.bounded(2) ? -1 : 0,
                    QString::number(10 + 5 * caso.bounded(20)) + " minuti",
                    qint64(2 + caso.bounded(7)), qint64(150 + caso.bounded(700)), testo(caso, 160),
                    testo(caso, 300), testo(caso, 800), testo(caso, 100),
                    "Tegame, mestolo di legno, " + scegli(caso, {"forno", "frusta", "pentola"})});
        const qint64 chiave = libro.ultimaChiave();
        for (int r = 0; r < RighePerRicetta; ++r)
            scriviRiga(riga, {chiave, qint64(1 + caso.bounded(NumeroIngredienti)),
                              scegli(caso, quantita), scegli(caso, commenti)});
    }
    libro.concludi();
}

} // namespace
