// Printing from the recipe editor to PDF: 100 recipes of the sample book, each to a PDF file of
// its own through the real print surface, as a cook does it (the "Stampa" button, one copy).
// Prints the median time of one printout, PDF written and closed, and the size of a file.
#include "editor/ricette.h"
#include "finestre.h"
#include "printing/superficie.h"
#include "toolkit/applicazione.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPushButton>
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
    std::printf("per_recipe_ms: %.2f ms\n", mediana(tempi));
    std::printf("pdf_kb: %.1f kB\n", byte / 1024.0 / Stampe);
    return 0;
}
