// "Importa Tutto" of a book of 1,000 recipes (10 lines each, names that match nothing) into the
// large book of 10,000 recipes and 3,000 ingredients. Prints the whole run, the time per
// recipe, the backup copy taken when the window opens and the rollback of "Annulla".
#include "finestre.h"
#include "generatore.h"
#include "import/importazione.h"
#include "toolkit/applicazione.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int Importate = 1000;
constexpr int RighePerImportata = 10;
constexpr int IngredientiSorgenti = 400;

// A made-up name that no book of recipes holds: its first three letters spell n, so no two
// names of the bench are alike, and random letters follow.
QString nomeInventato(QRandomGenerator &caso, int n, int lettere)
{
    QString p;
    for (int i = 0; i < lettere; ++i) {
        const int l = i == 0   ? n % 26
                      : i == 1 ? n / 26 % 26
                      : i == 2 ? n / 676 % 26
                               : int(caso.bounded(26));
        p += QLatin1Char(char('a' + l));
    }
    p[0] = p[0].toUpper();
    return p;
}

void libroDaImportare(const QString &percorso)
{
    LibroGenerato libro(percorso);
    libro.esegui("INSERT INTO \"Categorie alimentari\" (CategoriaAlimentare) VALUES "
                 "('Antipasti'), ('Dolci')");
    QRandomGenerator caso(7);
    Statement ingrediente(libro.handle(), "INSERT INTO Ingredienti (Ingrediente) VALUES (?)");
    for (int i = 0; i < IngredientiSorgenti; ++i)
        scriviRiga(ingrediente, {nomeInventato(caso, i, 12)});
    Statement ricetta(
        libro.handle(),
        "INSERT INTO Ricette (NomeRicetta, DescrizioneRicetta, IDCategoriaAlimentare, "
        "Vegetariana, NumeroPorzioni, Istruzioni) VALUES (?, ?, ?, 0, 4, ?)");
    Statement riga(libro.handle(), "INSERT INTO ingredienti_ricetta (IDRicetta, IDIngrediente, "
                                   "\"Quantità\", Commenti) VALUES (?, ?, ?, ?)");
    for (int i = 0; i < Importate; ++i) {
        scriviRiga(ricetta, {nomeInventato(caso, i, 16), testo(caso, 120),
                             qint64(1 + caso.bounded(2)), testo(caso, 600)});
        const qint64 chiave = libro.ultimaChiave();
        for (int r = 0; r < RighePerImportata; ++r)
            scriviRiga(riga, {chiave, qint64(1 + caso.bounded(IngredientiSorgenti)),
                              QString::number(1 + caso.bounded(500)), "g"});
    }
    libro.concludi();
}

} // namespace

int main(int argc, char **argv)
{
    senzaSchermo();
    QApplication app(argc, argv);
    Silenzio silenzio;
    silenzio.attesi = {"Importazione completata\r\n\r\nRicette importate: 1000\r\nRicette "
                       "saltate: 0\r\nRicette rinominate: 0\r\nIngredienti aggiunti: 400\r\n"
                       "Categorie alimentari aggiunte: 0"};
    Dialogs::install(&silenzio);

    QTemporaryDir cartella;
    const QString corrente = QDir(cartella.path()).filePath("Grande.mdb");
    const QString sorgente = QDir(cartella.path()).filePath("Amica.mdb");
    libroGrande(corrente);
    libroDaImportare(sorgente);
    Applicazione::RicettarioCorrente = corrente;
    Applicazione::RicettarioDaImportare = sorgente;

    // The current book was checked when it became current, as the main window has it done.
    Database::apri(corrente);
    QElapsedTimer t;
    t.start();
    Database::copiaDiSicurezza(corrente, QDir(cartella.path()).filePath("Prova.old"));
    const double copia = ms(t);

    // The window open on the source, drawn: the backup copy, the books read, the lists filled.
    t.restart();
    auto *finestra = new Importazione;
    finestra->show();
    if (!QTest::qWaitForWindowExposed(finestra))
        return 1;
    const double finestraAperta = ms(t);
    t.restart();
    QTest::mouseClick(controllo<QPushButton>(finestra, "Command1"), Qt::LeftButton);
    const double tutto = ms(t);
    const qint64 dopo =
        Database::apri(corrente)->valore("SELECT count(*) FROM Ricette").toLongLong();

    t.restart();
    QTest::mouseClick(controllo<QPushButton>(finestra, "Annulla"), Qt::LeftButton);
    const double annulla = ms(t);
    const qint64 ripristinate =
        Database::apri(corrente)->valore("SELECT count(*) FROM Ricette").toLongLong();
    delete finestra;

    if (silenzio.inattesi || dopo != NumeroRicette + Importate || ripristinate != NumeroRicette) {
        std::fprintf(stderr, "l'importazione non è andata come previsto (%lld, %lld)\n", dopo,
                     ripristinate);
        return 1;
    }
    std::printf("window_ms: %.1f ms\n", finestraAperta);
    std::printf("total_ms: %.1f ms\n", tutto);
    std::printf("per_recipe_ms: %.3f ms\n", tutto / Importate);
    std::printf("backup_ms: %.1f ms\n", copia);
    std::printf("rollback_ms: %.1f ms\n", annulla);
    return 0;
}
