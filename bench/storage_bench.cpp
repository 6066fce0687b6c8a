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
#include <functional>
#include <sqlite3.h>

namespace {

constexpr int Ricette = 10000;
constexpr int Giri = 15;

const QStringList ingredienti = {"funghi porcini", "zucca",    "ceci",    "melanzane",
                                 "pomodori",       "spinaci",  "ricotta", "pistacchi",
                                 "carciofi",       "nocciole", "baccalà", "limone",
                                 "mele",           "patate",   "cipolle", "porri"};
// A book of generated recipes with their ingredient lines, written in one transaction.
void riempi(const QString &percorso)
{
    sqlite3 *db = nuovoLibroGrezzo(percorso);
    for (const char *c : {"Antipasti", "Primi", "Secondi", "Contorni", "Dolci", "Pane e pizze"}) {
        const QByteArray sql =
            QByteArray("INSERT INTO \"Categorie alimentari\" (CategoriaAlimentare) VALUES ('") + c +
            "')";
        controlla(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), db);
    }
    sqlite3_stmt *ingrediente = nullptr;
    controlla(sqlite3_prepare_v2(db, "INSERT INTO Ingredienti (Ingrediente) VALUES (?)", -1,
                                 &ingrediente, nullptr),
              db);
    int ingredientiScritti = 0;
    for (const QString &nome : ingredienti)
        for (const char *modo : {"", " freschi", " secchi", " surgelati", " di stagione"}) {
            const QByteArray b = (nome + modo).toUtf8();
            sqlite3_bind_text(ingrediente, 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            controlla(sqlite3_step(ingrediente), db);
            sqlite3_reset(ingrediente);
            ++ingredientiScritti;
        }
    sqlite3_finalize(ingrediente);
    sqlite3_stmt *riga = nullptr;
    controlla(sqlite3_prepare_v2(db,
                                 "INSERT INTO ingredienti_ricetta (IDRicetta, IDIngrediente, "
                                 "\"Quantità\", Commenti) VALUES (?, ?, ?, ?)",
                                 -1, &riga, nullptr),
              db);
    sqlite3_stmt *s = nullptr;
    controlla(sqlite3_prepare_v2(
                  db,
                  "INSERT INTO Ricette (NomeRicetta, DescrizioneRicetta, Preparata_da, TipoPasto, "
                  "IDCategoriaAlimentare, Vegetariana, TempoPreparazione, NumeroPorzioni, "
                  "CaloriePerPorzione, InformazioniNutrizionali, Ingredienti, Istruzioni, Note, "
                  "Utensili) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  -1, &s, nullptr),
              db);
    QRandomGenerator caso(2024);
    const auto testoIn = [&](int i, const QString &t) {
        const QByteArray b = t.toUtf8();
        sqlite3_bind_text(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    };
    for (int i = 0; i < Ricette; ++i) {
        testoIn(1, scegli(caso, piatti) + " con " + scegli(caso, ingredienti) + ' ' +
                       scegli(caso, luoghi));
        testoIn(2, testo(caso, 120));
        testoIn(3, scegli(caso, {"Nonna Lucia", "Zia Mariù", "Francesco", "Chiara Bò"}));
        testoIn(4, scegli(caso, {"Pranzo", "Cena", "Merenda", "Colazione"}));
        sqlite3_bind_int64(s, 5, 1 + caso.bounded(6));
        sqlite3_bind_int64(s, 6, caso.bounded(2) ? -1 : 0);
        testoIn(7, QString::number(10 + 5 * caso.bounded(20)) + " minuti");
        sqlite3_bind_int64(s, 8, 2 + caso.bounded(7));
        sqlite3_bind_int64(s, 9, 150 + caso.bounded(700));
        testoIn(10, testo(caso, 160));
        testoIn(11, testo(caso, 300));
        testoIn(12, testo(caso, 800));
        testoIn(13, testo(caso, 100));
        testoIn(14, "Tegame, mestolo di legno, " + scegli(caso, {"forno", "frusta", "pentola"}));
        controlla(sqlite3_step(s), db);
        sqlite3_reset(s);
        const sqlite3_int64 ricetta = sqlite3_last_insert_rowid(db);
        for (int r = 4 + int(caso.bounded(9)); r > 0; --r) {
            sqlite3_bind_int64(riga, 1, ricetta);
            sqlite3_bind_int64(riga, 2, 1 + caso.bounded(ingredientiScritti));
            const QByteArray quantita = QByteArray::number(50 * (1 + caso.bounded(8)));
            sqlite3_bind_text(riga, 3, quantita.constData(), int(quantita.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_text(riga, 4, caso.bounded(2) ? "g" : "tritati", -1, SQLITE_STATIC);
            controlla(sqlite3_step(riga), db);
            sqlite3_reset(riga);
        }
    }
    concludiLibroGrezzo(db, {s, riga});
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
