// Printing from the recipe editor to PDF: 100 recipes of the sample book, each to a PDF file of
// its own through the real print surface, as a cook does it (the "Stampa" button, one copy).
// Prints the median time of one printout, PDF written and closed, and the size of a file; then
// the list window's "Stampa Tutte" of 100 recipes into one PDF, and its "Stampa" of 100 recipes
// selected in the large book.
#include "editor/ricette.h"
#include "elenco/elenco.h"
#include "finestre.h"
#include "generatore.h"
#include "printing/superficie.h"
#include "storage/database.h"
#include "toolkit/applicazione.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

constexpr int Stampe = 100;

int main(int argc, char **argv)
{
    senzaSchermo();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: print_bench RICETTARIO_DI_ESEMPIO\n");
        return 2;
    }
    Silenzio silenzio;
    silenzio.copie = 1;
    Dialogs::install(&silenzio);

    QTemporaryDir cartella;
    const QString libro = QDir(cartella.path()).filePath("Ricette.mdb");
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), libro)) {
        std::fprintf(stderr, "impossibile copiare %s\n", argv[1]);
        return 1;
    }
    Applicazione::RicettarioCorrente = libro;

    QPrinter stampante(QPrinter::HighResolution);
    stampante.setOutputFormat(QPrinter::PdfFormat);
    SuperficieQt superficie(stampante);
    SuperficieStampa::install(&superficie);

    Ricette finestra;
    finestra.show();
    if (!QTest::qWaitForWindowExposed(&finestra))
        return 1;
    auto *stampa = controllo<QPushButton>(&finestra, "cmdStampa");
    auto *successivo =
        controllo<QToolButton>(controllo<QWidget>(&finestra, "datPrimaryRS"), "successivo");
    auto *primo = controllo<QToolButton>(controllo<QWidget>(&finestra, "datPrimaryRS"), "primo");

    std::vector<double> tempi;
    qint64 byte = 0;
    for (int i = 0; i < Stampe; ++i) {
        const QString pdf = QDir(cartella.path()).filePath(QStringLiteral("%1.pdf").arg(i));
        stampante.setOutputFileName(pdf);
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(stampa, Qt::LeftButton);
        tempi.push_back(ms(t));
        byte += QFileInfo(pdf).size();
        // The next recipe; every tenth, back to the first (the sample book has more than ten).
        QTest::mouseClick(i % 10 == 9 ? primo : successivo, Qt::LeftButton);
    }
    if (silenzio.inattesi || byte == 0) {
        std::fprintf(stderr, "la stampa non è andata come previsto\n");
        return 1;
    }
    std::printf("pdf_ms: %.2f ms\n", mediana(tempi));
    std::printf("pdf_kb: %.1f kB\n", byte / 1024.0 / Stampe);
    finestra.close();

    // "Stampa Tutte" in the list window on a book of 100 recipes (the sample's, copied until
    // there are 100): one command, one PDF.
    const QString cento = QDir(cartella.path()).filePath("Cento.mdb");
    QFile::copy(libro, cento);
    {
        const std::shared_ptr<Database> db = Database::apri(cento);
        const int originali = db->valore("SELECT count(*) FROM Ricette").toInt();
        for (int n = originali; n < 100; ++n) {
            const qint64 da = db->valore("SELECT IDRicetta FROM Ricette ORDER BY IDRicetta "
                                         "LIMIT 1 OFFSET ?",
                                         {n % originali})
                                  .toLongLong();
            db->esegui("INSERT INTO Ricette (NomeRicetta, DescrizioneRicetta, Preparata_da, "
                       "TipoPasto, IDCategoriaAlimentare, Vegetariana, TempoPreparazione, "
                       "NumeroPorzioni, CaloriePerPorzione, InformazioniNutrizionali, Ingredienti, "
                       "Istruzioni, Note, Utensili) SELECT NomeRicetta || ' ' || ?, "
                       "DescrizioneRicetta, Preparata_da, TipoPasto, IDCategoriaAlimentare, "
                       "Vegetariana, TempoPreparazione, NumeroPorzioni, CaloriePerPorzione, "
                       "InformazioniNutrizionali, Ingredienti, Istruzioni, Note, Utensili "
                       "FROM Ricette WHERE IDRicetta = ?",
                       {n, da});
            db->esegui("INSERT INTO ingredienti_ricetta (IDRicetta, IDIngrediente, "
                       "\"Quantità\", Commenti) SELECT ?, IDIngrediente, \"Quantità\", Commenti "
                       "FROM ingredienti_ricetta WHERE IDRicetta = ? ORDER BY IDIngredienteRicetta",
                       {db->ultimaChiave(), da});
        }
        db->Close();
    }
    Applicazione::RicettarioCorrente = cento;
    Elenco elenco;
    elenco.show();
    controllo<QRadioButton>(&elenco, "Option2")->click();
    const QString tutte = QDir(cartella.path()).filePath("cento.pdf");
    stampante.setOutputFileName(tutte);
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(controllo<QPushButton>(&elenco, "Command4"), Qt::LeftButton);
    const double cento_ms = ms(t);
    if (silenzio.inattesi || QFileInfo(tutte).size() == 0) {
        std::fprintf(stderr, "la stampa delle cento ricette non è andata come previsto\n");
        return 1;
    }
    std::printf("list_100_pdf_ms (sample book copied to 100): %.1f ms\n", cento_ms);

    // The large book (10,000 recipes, 3,000 ingredients): its first 100 by name, "Stampa".
    Applicazione::RicettarioCorrente = QDir(cartella.path()).filePath("Grande.mdb");
    libroGrande(Applicazione::RicettarioCorrente);
    Elenco grande;
    grande.show();
    elencoConScelte(&grande, 100);
    const QString grandi = QDir(cartella.path()).filePath("grande.pdf");
    stampante.setOutputFileName(grandi);
    t.restart();
    QTest::mouseClick(controllo<QPushButton>(&grande, "Command1"), Qt::LeftButton);
    const double grande_ms = ms(t);
    if (silenzio.inattesi || QFileInfo(grandi).size() == 0) {
        std::fprintf(stderr, "la stampa del ricettario grande non è andata come previsto\n");
        return 1;
    }
    std::printf("list_100_pdf_ms: %.1f ms\n", grande_ms);
    return 0;
}
