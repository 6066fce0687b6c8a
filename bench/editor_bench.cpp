// The recipe editor on a large book: 10,000 recipes, 3,000 ingredients, 60,000 ingredient
// lines. Times the opening, a move to the next recipe, one line added to a recipe and one
// portion conversion that stores its quantities (medians of repeated runs), then the resident
// memory.
//
// Every action is done as a cook does it (clicks and keys on the window's controls); its time
// includes the events it leaves queued (layout, repaint), since the cook waits for those too.
#include "applicazione.h"
#include "database.h"
#include "dialogs.h"
#include "finestre.h"
#include "generatore.h"
#include "ricette.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int NumeroRicette = 10000;
constexpr int NumeroIngredienti = 3000;
constexpr int RighePerRicetta = 6;
constexpr int Aperture = 5;
constexpr int Spostamenti = 200;
constexpr int Aggiunte = 60;
constexpr int Conversioni = 60;

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

void legaTesto(sqlite3_stmt *s, int i, const QString &t)
{
    const QByteArray b = t.toUtf8();
    sqlite3_bind_text(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

sqlite3_stmt *prepara(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *s = nullptr;
    controlla(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), db);
    return s;
}

void passo(sqlite3_stmt *s, sqlite3 *db)
{
    controlla(sqlite3_step(s), db);
    sqlite3_reset(s);
}

// The book, written in one transaction through the bare C API: our layer would commit row by
// row.
void riempi(const QString &percorso)
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
    for (int i = 0; i < NumeroRicette; ++i) {
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
    sqlite3_finalize(ricetta);
    sqlite3_finalize(riga);
    controlla(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

double ms(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

// An action and the events it leaves queued.
template <class Azione> double cronometra(Azione azione)
{
    QElapsedTimer t;
    t.start();
    azione();
    QCoreApplication::processEvents();
    return ms(t);
}

double memoriaMb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &r : f.readAll().split('\n'))
        if (r.startsWith("VmRSS:"))
            return r.mid(6).trimmed().split(' ').first().toDouble() / 1024; // kB
    return 0;
}

void mancante(const char *figura, const char *perche)
{
    std::fprintf(stderr, "%s not measured: %s\n", figura, perche);
}

void stampa(const char *figura, const std::vector<double> &tempi)
{
    if (tempi.empty())
        std::printf("%s: n/a\n", figura);
    else
        std::printf("%s: %.2f ms\n", figura, mediana(tempi));
}

qint64 righeNelLibro(Database &libro)
{
    return libro.valore("SELECT count(*) FROM ingredienti_ricetta").toLongLong();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    Silenzio silenzio;
    Dialogs::install(&silenzio);

    QTemporaryDir cartella;
    const QString percorso = QDir(cartella.path()).filePath("Grande.mdb");
    riempi(percorso);
    Applicazione::RicettarioCorrente = percorso;

    // The window is opened several times, as a cook opens it again from the main window: each
    // opening checks the book anew, and a busy moment of the machine weighs on one of them only.
    Ricette *finestra = nullptr;
    std::vector<double> aperture;
    for (int i = 0; i < Aperture; ++i) {
        if (finestra) {
            finestra->close();
            delete finestra;
            QCoreApplication::processEvents();
        }
        aperture.push_back(cronometra([&] {
            finestra = new Ricette;
            finestra->show();
        }));
    }
    finestra->activateWindow();
    QCoreApplication::processEvents();

    // Each step is checked for its effect: a step that does nothing yet gives no figure, so
    // the bench measures what exists and says what does not.
    const std::shared_ptr<Database> libro = Database::apri(percorso);
    auto *chiave = controllo<QLineEdit>(finestra, "Label2"); // the shown recipe's IDRicetta
    const auto quantitaNelLibro = [&] {
        return libro
            ->valore("SELECT group_concat(\"Quantità\", '|') FROM ingredienti_ricetta WHERE "
                     "IDRicetta = ?",
                     {chiave->text().toLongLong()})
            .toString();
    };

    auto *successivo =
        controllo<QToolButton>(controllo<QWidget>(finestra, "datPrimaryRS"), "successivo");
    std::vector<double> spostamenti;
    for (int i = 0; i < Spostamenti; ++i) {
        const QString prima = chiave->text();
        spostamenti.push_back(cronometra([&] { QTest::mouseClick(successivo, Qt::LeftButton); }));
        if (chiave->text() == prima) {
            mancante("move", "the navigation bar did not move");
            spostamenti.clear();
            break;
        }
    }

    // Lines go to the recipe shown, one ingredient after another picked from the list.
    auto *lista = controllo<QListWidget>(finestra, "ListaIngredienti");
    auto *scelto = controllo<QLineEdit>(finestra, "IngredienteScelto");
    auto *qta = controllo<QLineEdit>(finestra, "Qta");
    auto *commento = controllo<QLineEdit>(finestra, "Commento");
    auto *aggiungi = controllo<QPushButton>(finestra, "Command1");
    const qint64 righePrima = righeNelLibro(*libro);
    std::vector<double> aggiunte;
    for (int i = 0; i < Aggiunte; ++i) {
        if (lista->count() == 0) {
            mancante("add_line", "the ingredient list is empty");
            break;
        }
        QListWidgetItem *voce = lista->item((i * 37) % lista->count());
        lista->scrollToItem(voce);
        const QPoint punto = lista->visualItemRect(voce).center();
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, punto);
        if (scelto->text() != voce->text()) {
            mancante("add_line", "a double-click in the list chooses no ingredient");
            break;
        }
        QTest::keyClicks(qta, quantita.at(i % quantita.size()));
        QTest::keyClicks(commento, "tritato finemente");
        aggiunte.push_back(cronometra([&] { QTest::mouseClick(aggiungi, Qt::LeftButton); }));
    }
    if (!aggiunte.empty() && righeNelLibro(*libro) - righePrima != qint64(aggiunte.size())) {
        mancante("add_line", "the lines were not stored");
        aggiunte.clear();
    }

    // Conversions stored, on another recipe with its own six lines, back and forth.
    QTest::mouseClick(successivo, Qt::LeftButton);
    QCoreApplication::processEvents();
    auto *porzioni = controllo<QLineEdit>(finestra, "txtFields_8");
    auto *nuove = controllo<QLineEdit>(finestra, "Text2");
    auto *trasforma = controllo<QPushButton>(finestra, "Command5");
    auto *memorizza = controllo<QCheckBox>(finestra, "Check1");
    if (!memorizza->isChecked())
        QTest::mouseClick(memorizza, Qt::LeftButton);
    const QString originali = quantitaNelLibro();
    std::vector<double> conversioni;
    for (int i = 0; i < Conversioni; ++i) {
        const QString n = porzioni->text() == "4" ? "6" : "4";
        nuove->clear();
        QTest::keyClicks(nuove, n);
        conversioni.push_back(cronometra([&] { QTest::mouseClick(trasforma, Qt::LeftButton); }));
        if (porzioni->text() != n || (i == 0 && quantitaNelLibro() == originali)) {
            mancante("convert", "the quantities were not converted and stored");
            conversioni.clear();
            break;
        }
    }
    const double memoria = memoriaMb();

    std::printf("open_ms: %.1f ms\n", mediana(aperture));
    stampa("move_ms", spostamenti);
    stampa("add_line_ms", aggiunte);
    stampa("convert_ms", conversioni);
    std::printf("rss_mb: %.1f MB\n", memoria);
    finestra->close();
    delete finestra;
    return silenzio.inattesi == 0 ? 0 : 1;
}
