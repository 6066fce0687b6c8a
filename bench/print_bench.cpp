// Printing from the recipe editor to PDF: 100 recipes of the sample book, each to a PDF file of
// its own through the real print surface, as a cook does it (the "Stampa" button, one copy).
// Prints the median time of one printout, PDF written and closed, and the size of a file; then
// the same through the program's own print dialog, "Stampa su file (PDF)" chosen in it, timed
// from its "Stampa" button to the file written (the first printout of the run apart); then the
// list window's "Stampa Tutte" of 100 recipes into one PDF, and its "Stampa" of 100 recipes
// selected in the large book.
#include "editor/ricette.h"
#include "elenco/elenco.h"
#include "finestre.h"
#include "generatore.h"
#include "printing/superficie.h"
#include "storage/database.h"
#include "toolkit/applicazione.h"
#include "toolkit/qtdialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrintDialog>
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
constexpr int DalDialogo = 40;

// Answers the program's print dialog as a cook does: "Stampa su file (PDF)", the file's name,
// "Stampa". Keeps when the button was pressed.
class Stampatore : public QObject
{
public:
    QString file;
    QElapsedTimer premuto;
    double cpu = 0; // the process's CPU time when the button was pressed
    bool fatto = false;

    Stampatore() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        auto *dialogo = qobject_cast<QPrintDialog *>(o);
        if (dialogo && e->type() == QEvent::Show)
            // Once the dialog runs its own loop.
            QMetaObject::invokeMethod(this, [this, dialogo] { rispondi(dialogo); },
                                      Qt::QueuedConnection);
        return false;
    }

private:
    void rispondi(QPrintDialog *dialogo)
    {
        auto *stampanti = dialogo->findChild<QComboBox *>("printers");
        auto *nome = dialogo->findChild<QLineEdit *>("filename");
        auto *pulsanti = dialogo->findChild<QDialogButtonBox *>();
        const int pdf = stampanti ? stampanti->findText("Stampa su file (PDF)") : -1;
        if (pdf < 0 || !nome || !pulsanti) {
            std::fprintf(stderr, "il dialogo di stampa non ha la stampa su file (PDF)\n");
            dialogo->reject();
            return;
        }
        stampanti->setCurrentIndex(pdf);
        nome->setText(file);
        fatto = true;
        premuto.start();
        cpu = cpuMs();
        QTest::mouseClick(pulsanti->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
};

int main(int argc, char **argv)
{
    senzaSchermo();
    QApplication app(argc, argv);
    installaTraduzioneItaliana(); // as the program: its print dialog speaks Italian
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

    // First the program's own dialog and the printer it sets up, as the program installs them:
    // the first printout of the run is the cook's first of the session.
    {
        QtDialogs dialoghi;
        Dialogs::install(&dialoghi);
        SuperficieQt vera(QtDialogs::stampante());
        SuperficieStampa::install(&vera);
        Stampatore stampatore;
        std::vector<double> tempi, cpu;
        for (int i = 0; i <= DalDialogo; ++i) {
            stampatore.file =
                QDir(cartella.path()).filePath(QStringLiteral("dialogo%1.pdf").arg(i));
            stampatore.fatto = false;
            QTest::mouseClick(stampa, Qt::LeftButton);
            tempi.push_back(ms(stampatore.premuto));
            cpu.push_back(cpuMs() - stampatore.cpu);
            if (!stampatore.fatto || QFileInfo(stampatore.file).size() == 0) {
                std::fprintf(stderr, "la stampa dal dialogo non ha scritto il file\n");
                return 1;
            }
            QTest::mouseClick(i % 10 == 9 ? primo : successivo, Qt::LeftButton);
        }
        std::printf("pdf_dialog_first_ms: %.2f ms\n", tempi.front());
        std::printf("pdf_dialog_first_cpu_ms: %.2f ms\n", cpu.front());
        tempi.erase(tempi.begin());
        cpu.erase(cpu.begin());
        std::printf("pdf_dialog_ms: %.2f ms\n", mediana(tempi));
        std::printf("pdf_dialog_cpu_ms: %.2f ms\n", mediana(cpu));
        std::printf("pdf_dialog_kb: %.1f kB\n", QFileInfo(stampatore.file).size() / 1024.0);
        Dialogs::install(&silenzio);
        SuperficieStampa::install(&superficie);
        QTest::mouseClick(primo, Qt::LeftButton);
    }

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
