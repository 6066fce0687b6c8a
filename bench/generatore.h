#pragma once
// What the benchmarks share to write generated books: Italian sentences, a random choice, and
// a stop on a failing SQLite call.
#include "storage/database.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

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

inline void controlla(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

// A new empty book, opened through the bare C API inside a transaction the caller commits:
// our layer would commit row by row.
inline sqlite3 *nuovoLibroGrezzo(const QString &percorso)
{
    Database::crea(percorso);
    sqlite3 *db = nullptr;
    controlla(sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db, SQLITE_OPEN_READWRITE,
                              nullptr),
              db);
    controlla(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    return db;
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

inline void legaTesto(sqlite3_stmt *s, int i, const QString &t)
{
    const QByteArray b = t.toUtf8();
    sqlite3_bind_text(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

inline sqlite3_stmt *prepara(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *s = nullptr;
    controlla(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), db);
    return s;
}

inline void passo(sqlite3_stmt *s, sqlite3 *db)
{
    controlla(sqlite3_step(s), db);
    sqlite3_reset(s);
}

// The book, written in one transaction through the bare C API: our layer would commit row by
// row.
// Finalizes the statements, commits what the book received and closes it.
inline void concludiLibroGrezzo(sqlite3 *db, std::initializer_list<sqlite3_stmt *> istruzioni)
{
    for (sqlite3_stmt *s : istruzioni)
        sqlite3_finalize(s);
    controlla(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// The large book the benchmarks share: 10,000 recipes, 3,000 ingredients, 60,000 lines (or as
// many recipes as asked, six lines each).
inline void libroGrande(const QString &percorso, int numeroRicette = NumeroRicette)
{
    sqlite3 *db = nuovoLibroGrezzo(percorso);
    sqlite3_stmt *categoria =
        prepara(db, "INSERT INTO \"Categorie alimentari\" (CategoriaAlimentare) VALUES (?)");
    const QStringList categorie = {"Antipasti",        "Primi piatti", "Secondi di carne",
                                   "Secondi di pesce", "Contorni",     "Dolci",
                                   "Pane e pizze",     "Conserve"};
    for (const QString &c : categorie) {
        legaTesto(categoria, 1, c);
        passo(categoria, db);
    }
    sqlite3_finalize(categoria);

    sqlite3_stmt *ingrediente = prepara(db, "INSERT INTO Ingredienti (Ingrediente) VALUES (?)");
    for (int i = 0; i < NumeroIngredienti; ++i) {
        legaTesto(ingrediente, 1,
                  basi.at(i % basi.size()) +
                      provenienze.at((i / basi.size()) % provenienze.size()));
        passo(ingrediente, db);
    }
    sqlite3_finalize(ingrediente);

    sqlite3_stmt *ricetta = prepara(
        db, "INSERT INTO Ricette (NomeRicetta, DescrizioneRicetta, Preparata_da, TipoPasto, "
            "IDCategoriaAlimentare, Vegetariana, TempoPreparazione, NumeroPorzioni, "
            "CaloriePerPorzione, InformazioniNutrizionali, Ingredienti, Istruzioni, Note, "
            "Utensili) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    sqlite3_stmt *riga = prepara(db, "INSERT INTO ingredienti_ricetta (IDRicetta, IDIngrediente, "
                                     "\"Quantità\", Commenti) VALUES (?, ?, ?, ?)");
    QRandomGenerator caso(2024);
    for (int i = 0; i < numeroRicette; ++i) {
        const QString nome =
            scegli(caso, piatti) + " con " + scegli(caso, con) + ' ' + scegli(caso, luoghi);
        legaTesto(ricetta, 1, nome.left(50));
        legaTesto(ricetta, 2, testo(caso, 120));
        legaTesto(ricetta, 3, scegli(caso, {"Nonna Lucia", "Zia Mariù", "Francesco", "Chiara Bò"}));
        legaTesto(ricetta, 4, scegli(caso, {"Pranzo", "Cena", "Merenda", "Colazione"}));
        sqlite3_bind_int64(ricetta, 5, 1 + caso.bounded(int(categorie.size())));
        sqlite3_bind_int64(ricetta, 6, caso.bounded(2) ? -1 : 0);
        legaTesto(ricetta, 7, QString::number(10 + 5 * caso.bounded(20)) + " minuti");
        sqlite3_bind_int64(ricetta, 8, 2 + caso.bounded(7));
        sqlite3_bind_int64(ricetta, 9, 150 + caso.bounded(700));
        legaTesto(ricetta, 10, testo(caso, 160));
        legaTesto(ricetta, 11, testo(caso, 300));
        legaTesto(ricetta, 12, testo(caso, 800));
        legaTesto(ricetta, 13, testo(caso, 100));
        legaTesto(ricetta, 14,
                  "Tegame, mestolo di legno, " + scegli(caso, {"forno", "frusta", "pentola"}));
        passo(ricetta, db);
        const sqlite3_int64 chiave = sqlite3_last_insert_rowid(db);
        for (int r = 0; r < RighePerRicetta; ++r) {
            sqlite3_bind_int64(riga, 1, chiave);
            sqlite3_bind_int64(riga, 2, 1 + caso.bounded(NumeroIngredienti));
            legaTesto(riga, 3, scegli(caso, quantita));
            legaTesto(riga, 4, scegli(caso, commenti));
            passo(riga, db);
        }
    }
    concludiLibroGrezzo(db, {ricetta, riga});
}

} // namespace
