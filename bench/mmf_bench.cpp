// A MealMaster file of 10,000 recipes read into a source book, and 1,000 recipes exported from
// the recipe list window.
#include "elenco/elenco.h"
#include "finestre.h"
#include "formati/mealmaster.h"
#include "generatore.h"
#include "toolkit/applicazione.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

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
    Risposta messageBox(const QString &t, Pulsanti p, const QString &titolo, Icona i) override
    {
        return p == SiNoAnnulla ? No : Silenzio::messageBox(t, p, titolo, i);
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
    std::printf("export_ms: %.0f ms\n", ms(t));
    Dialogs::uninstall(&risposte);
    return risposte.inattesi == 0 ? 0 : 1;
}
