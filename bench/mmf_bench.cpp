// A MealMaster file of 10,000 recipes read into a source book; the same file imported into an
// empty book through the main window and the import window, one answer for all; 1,000 recipes
// exported from the recipe list window.
#include "elenco/elenco.h"
#include "finestre.h"
#include "formati/mealmaster.h"
#include "generatore.h"
#include "shell/menu.h"
#include "storage/database.h"
#include "toolkit/applicazione.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<RicettaEstera> ricette(int quante)
{
    QRandomGenerator caso(20);
    QList<RicettaEstera> r;
    for (int i = 0; i < quante; ++i) {
        RicettaEstera x;
        x.nome = QStringLiteral("Ricetta %1").arg(i + 1);
        x.categoria = QStringLiteral("Categoria %1").arg(i % 12);
        x.tipoPasto = x.categoria;
        x.porzioni = 2 + i % 6;
        x.istruzioni = testo(caso, 300) + "\r\n" + testo(caso, 300);
        for (int l = 0; l < 8; ++l)
            x.righe.append({scegli(caso, quantita), scegli(caso, basi), scegli(caso, commenti)});
        r.append(x);
    }
    return r;
}

// Answers the export's question (all listed), its file dialog and its closing message.
class Esportazione : public Silenzio
{
public:
    QString file;
    bool soloScelte = false; // the answer to "only the selected ones?"
    Risposta messageBox(const QString &t, Pulsanti p, const QString &titolo, Icona i) override
    {
        return p == SiNoAnnulla ? (soloScelte ? Si : No) : Silenzio::messageBox(t, p, titolo, i);
    }
    QString openFile(const QString &, const QString &, const QString &, bool) override
    {
        return file;
    }
};

// The cook of a collection: chooses the file, then answers each kind of question once, for
// all: similar names added under their own; the closing message ends the clock.
class Collezione : public Silenzio
{
public:
    QString file;
    QElapsedTimer *orologio = nullptr;
    double fine = 0;
    QString esito;
    Risposta messageBox(const QString &t, Pulsanti p, const QString &titolo, Icona i) override
    {
        bool spuntata = false;
        return messageBox(t, p, titolo, i, QString(), spuntata);
    }
    Risposta messageBox(const QString &t, Pulsanti p, const QString &titolo, Icona i,
                        const QString &casella, bool &spuntata) override
    {
        if (titolo == QLatin1String("Fine importazione")) {
            fine = ms(*orologio);
            esito = t;
            return OK;
        }
        if (p != SiNoAnnulla || casella.isEmpty())
            return Silenzio::messageBox(t, p, titolo, i);
        spuntata = true;
        return t == QLatin1String("La vuoi rinominare ?") ? No : Si;
    }
    QString openFile(const QString &, const QString &, const QString &, bool) override
    {
        return file;
    }
};

} // namespace

int main(int argc, char **argv)
{
    senzaSchermo();
    QApplication app(argc, argv);
    QTemporaryDir cartella;
    const QString file = cartella.filePath("ricette.mmf");
    if (const QString e = MealMaster::scrivi(file, ricette(10000)); !e.isEmpty())
        qFatal("%s", qPrintable(e));

    QElapsedTimer t;
    t.start();
    QString errore;
    const QList<RicettaEstera> lette = MealMaster::leggi(file, errore);
    const double lettura = ms(t);
    LibroSorgente::scrivi(cartella.filePath("sorgente.mdb"), lette);
    const double tutto = ms(t);
    if (!errore.isEmpty() || lette.size() != 10000)
        qFatal("lette %d ricette: %s", int(lette.size()), qPrintable(errore));
    std::printf("parse_ms: %.0f ms\n", lettura);
    std::printf("read_ms: %.0f ms\n", tutto);
    std::printf("per_recipe_ms: %.3f ms\n", tutto / lette.size());

    {
        // From the file chosen in "Importa" to "Importazione completata", into an empty book.
        QDir::setCurrent(cartella.path());
        Database::crea(cartella.filePath("Ricette.mdb"))->Close();
        Collezione cuoco;
        cuoco.file = file;
        Dialogs::install(&cuoco);
        Menu principale;
        principale.show();
        QElapsedTimer orologio;
        cuoco.orologio = &orologio;
        orologio.start();
        controllo<QAction>(&principale, "importa")->trigger();
        QWidget *importazione = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("import") && w->isVisible())
                importazione = w;
        if (!importazione || !QTest::qWaitForWindowExposed(importazione))
            qFatal("la finestra di importazione non si è aperta");
        const double finestra = ms(orologio);
        QTest::mouseClick(controllo<QPushButton>(importazione, "Command1"), Qt::LeftButton);
        const qint64 importate = Database::apri(cartella.filePath("Ricette.mdb"))
                                     ->valore("SELECT count(*) FROM Ricette")
                                     .toLongLong();
        if (cuoco.inattesi || importate != 10000)
            qFatal("importate %lld ricette: %s", importate, qPrintable(cuoco.esito));
        std::printf("import_10k_window_ms: %.0f ms\n", finestra);
        std::printf("import_10k_ms: %.0f ms\n", cuoco.fine);
        importazione->close();
        Dialogs::uninstall(&cuoco);
    }

    Esportazione risposte;
    risposte.file = cartella.filePath("esportate.mmf");
    risposte.attesi << "Esportate 1000 ricette nel file esportate.mmf.";
    Dialogs::install(&risposte);
    Applicazione::RicettarioCorrente = cartella.filePath("mille.mdb");
    LibroSorgente::scrivi(Applicazione::RicettarioCorrente, lette.mid(0, 1000));
    Elenco finestra;
    finestra.show();
    controllo<QRadioButton>(&finestra, "Option2")->click();
    t.restart();
    controllo<QPushButton>(&finestra, "Command5")->click();
    std::printf("export_ms (1,000 recipes of 1,000, 116 ingredients): %.0f ms\n", ms(t));

    // The large book: the first 1,000 recipes by name selected, then every one.
    Applicazione::RicettarioCorrente = cartella.filePath("grande.mdb");
    libroGrande(Applicazione::RicettarioCorrente);
    Elenco grande;
    grande.show();
    elencoConScelte(&grande, 1000);
    risposte.soloScelte = true;
    risposte.attesi = QStringList{"Esportate 1000 ricette nel file esportate.mmf.",
                                  "Esportate 10000 ricette nel file esportate.mmf."};
    t.restart();
    controllo<QPushButton>(&grande, "Command5")->click();
    std::printf("export_ms: %.0f ms\n", ms(t));
    risposte.soloScelte = false;
    t.restart();
    controllo<QPushButton>(&grande, "Command5")->click();
    std::printf("export_all_ms: %.0f ms\n", ms(t));
    Dialogs::uninstall(&risposte);
    return risposte.inattesi == 0 ? 0 : 1;
}
