// The shopping list on the large book (10,000 recipes, 60,000 lines): a week of 14 recipes into
// the list and the list read back as the window shows it, its printout to PDF, its QR codes.
#include "finestre.h"
#include "generatore.h"
#include "printing/superficie.h"
#include "spesa/codiceqr.h"
#include "spesa/listaspesa.h"
#include "spesa/testo.h"
#include "storage/database.h"

#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir cartella;
    const QString percorso = QDir(cartella.path()).filePath("Grande.mdb");
    libroGrande(percorso);
    // The book checked once, as the program does at start: not the list's time.
    Database::apri(percorso, Database::Modo::SolaLettura);

    // Two weeks' meals spread over the book.
    QList<std::pair<qint64, int>> settimana;
    for (int i = 0; i < 14; ++i)
        settimana.append({1 + i * 701, 2 + i % 5});

    std::vector<double> aggiunte, letture;
    ListaSpesa::Stato stato;
    QElapsedTimer t;
    for (int giro = 0; giro < 11; ++giro) {
        ListaSpesa lista(percorso);
        QList<qint64> posizioni;
        for (const Scelta &s : lista.leggi().scelte)
            posizioni << s.posizione;
        lista.togli(posizioni);
        t.start();
        lista.aggiungi(settimana);
        aggiunte.push_back(ms(t));
        t.start();
        stato = lista.leggi();
        letture.push_back(ms(t));
    }
    if (stato.scelte.size() != 14 || stato.voci.isEmpty())
        std::fprintf(stderr, "the list is not the week's\n");
    std::printf("lista_ms: %.2f ms\n", mediana(aggiunte) + mediana(letture));
    std::printf("lista_lettura_ms: %.2f ms\n", mediana(letture));
    std::printf("lista_voci: %lld\n", qlonglong(stato.voci.size()));

    QPrinter stampante(QPrinter::HighResolution);
    stampante.setOutputFormat(QPrinter::PdfFormat);
    std::vector<double> stampe;
    for (int i = 0; i < 11; ++i) {
        stampante.setOutputFileName(
            QDir(cartella.path()).filePath(QStringLiteral("%1.pdf").arg(i)));
        t.start();
        SuperficieQt superficie(stampante);
        TestoSpesa::stampa(superficie, stato);
        superficie.FineLavoro();
        stampe.push_back(ms(t));
    }
    std::printf("stampa_ms: %.1f ms\n", mediana(stampe));

    std::vector<double> codici;
    qsizetype pezzi = 0;
    for (int i = 0; i < 21; ++i) {
        t.start();
        const QStringList p = TestoSpesa::aPezzi(TestoSpesa::testo(stato.voci), 600);
        for (const QString &pezzo : p)
            if (!CodiceQR::daTesto(pezzo).valido())
                std::fprintf(stderr, "no code for a piece\n");
        codici.push_back(ms(t));
        pezzi = p.size();
    }
    std::printf("qr_ms: %.2f ms\n", mediana(codici));
    std::printf("qr_codici: %lld\n", qlonglong(pezzi));
    return 0;
}
