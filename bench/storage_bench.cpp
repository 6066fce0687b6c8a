// Opening a large book, with its check, and reading it in name order: our Recordset against the
// bare SQLite C API.
#include "generatore.h"
#include "storage/database.h"
#include "storage/recordset.h"
#include "storage/schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sqlite3.h>

namespace {

constexpr int Ricette = 10000;
constexpr int Giri = 15;

const QStringList ingredienti = {"funghi porcini", "zucca",    "ceci",    "melanzane",
                                 "pomodori",       "spinaci",  "ricotta", "pistacchi",
                                 "carciofi",       "nocciole", "baccalà", "limone",
                                 "mele",           "patate",   "cipolle", "porri"};
// The bare C API, the measure of what our layer costs: a failing call ends the benchmark.
void controlla(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

// A book of generated recipes with their ingredient lines, written in one transaction.
void riempi(const QString &percorso)
{
    LibroGenerato libro(percorso);
    Statement categoria(libro.handle(),
                        "INSERT INTO \"Categorie alimentari\" (CategoriaAlimentare) VALUES (?)");
    for (const char *c : {"Antipasti", "Primi", "Secondi", "Contorni", "Dolci", "Pane e pizze"})
        scriviRiga(categoria, {QString::fromUtf8(c)});
    Statement ingrediente(libro.handle(), "INSERT INTO Ingredienti (Ingrediente) VALUES (?)");
    int ingredientiScritti = 0;
    for (const QString &nome : ingredienti)
        for (const char *modo : {"", " freschi", " secchi", " surgelati", " di stagione"}) {
            scriviRiga(ingrediente, {nome + modo});
            ++ingredientiScritti;
        }
    Statement riga(libro.handle(), "INSERT INTO ingredienti_ricetta (IDRicetta, IDIngrediente, "
                                   "\"Quantità\", Commenti) VALUES (?, ?, ?, ?)");
    Statement s(libro.handle(),
                "INSERT INTO Ricette (NomeRicetta, DescrizioneRicetta, Preparata_da, TipoPasto, "
                "IDCategoriaAlimentare, Vegetariana, TempoPreparazione, NumeroPorzioni, "
                "CaloriePerPorzione, InformazioniNutrizionali, Ingredienti, Istruzioni, Note, "
                "Utensili) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    QRandomGenerator caso(2024);
    for (int i = 0; i < Ricette; ++i) {
        // Braces run their values in order: the book is the same at every run.
        scriviRiga(
            s,
            {scegli(caso, piatti) + " con " + scegli(caso, ingredienti) + ' ' +
                 scegli(caso, luoghi),
             testo(caso, 120), scegli(caso, {"Nonna Lucia", "Zia Mariù", "Francesco", "Chiara Bò"}),
             scegli(caso, {"Pranzo", "Cena", "Merenda", "Colazione"}), qint64(1 + caso.bounded(6)),
             caso.bounded(2) ? -1 : 0, QString::number(10 + 5 * caso.bounded(20)) + " minuti",
             qint64(2 + caso.bounded(7)), qint64(150 + caso.bounded(700)), testo(caso, 160),
             testo(caso, 300), testo(caso, 800), testo(caso, 100),
             "Tegame, mestolo di legno, " + scegli(caso, {"forno", "frusta", "pentola"})});
        const qint64 ricetta = libro.ultimaChiave();
        for (int r = 4 + int(caso.bounded(9)); r > 0; --r)
            scriviRiga(riga, {ricetta, qint64(1 + caso.bounded(ingredientiScritti)),
                              QString::number(50 * (1 + caso.bounded(8))),
                              caso.bounded(2) ? "g" : "tritati"});
    }
    libro.concludi();
}

double tempo(const std::function<qint64()> &prova, qint64 &controllo)
{
    QElapsedTimer t;
    t.start();
    controllo = prova();
    return t.nsecsElapsed() / 1e6;
}

qint64 leggiRecordset(const std::shared_ptr<Database> &libro)
{
    qint64 somma = 0;
    Recordset rs(libro, Schema::Origine::RicettePerNome);
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        for (int i = 0; i < rs.fieldCount(); ++i)
            somma += rs.value(i).isNull() ? 0 : 1;
    return somma;
}

qint64 leggiSqlite(sqlite3 *db)
{
    qint64 somma = 0;
    sqlite3_stmt *s = nullptr;
    controlla(
        sqlite3_prepare_v2(db, "select * from [Ricette] Order by [NomeRicetta]", -1, &s, nullptr),
        db);
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(s); ++i) {
            switch (i) {
            case Schema::IDRicetta:
            case Schema::IDCategoriaAlimentare:
            case Schema::Vegetariana:
            case Schema::NumeroPorzioni:
            case Schema::CaloriePerPorzione:
                somma += sqlite3_column_int64(s, i) != 0 ? 1 : 0;
                break;
            default:
                somma += sqlite3_column_text(s, i) ? 1 : 0;
            }
        }
    }
    sqlite3_finalize(s);
    return somma;
}

} // namespace

int main()
{
    QTemporaryDir cartella;
    const QString percorso = QDir(cartella.path()).filePath("Grande.mdb");
    riempi(percorso);

    // Each opening drops its Database, so the next one opens and checks the file again.
    double apertura = 1e300;
    qint64 aperto = 0;
    for (int i = 0; i < Giri; ++i)
        apertura = std::min(
            apertura, tempo([&] { return qint64(Database::apri(percorso)->aperto()); }, aperto));

    // Both open their connection outside the timing: only the read of the set is measured.
    // Rounds take turns, so a busy moment of the machine weighs on both alike.
    const std::shared_ptr<Database> libro = Database::apri(percorso);
    sqlite3 *db = nullptr;
    controlla(sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db, SQLITE_OPEN_READONLY,
                              nullptr),
              db);
    double recordset = 1e300, bare = 1e300;
    qint64 daRecordset = 0, daSqlite = 0;
    for (int i = 0; i < Giri; ++i) {
        recordset = std::min(recordset, tempo([&] { return leggiRecordset(libro); }, daRecordset));
        bare = std::min(bare, tempo([&] { return leggiSqlite(db); }, daSqlite));
    }
    sqlite3_close(db);

    if (!aperto || daRecordset == 0 || daSqlite == 0)
        return 1;
    std::printf("apertura_ms: %.1f ms\n", apertura);
    std::printf("recordset_ms: %.1f ms\n", recordset);
    std::printf("bare_sqlite_ms: %.1f ms\n", bare);
    std::printf("ratio: %.2f x\n", recordset / bare);
    return 0;
}
