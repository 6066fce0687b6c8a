// The recipe editor on a large book: 10,000 recipes, 3,000 ingredients, 60,000 ingredient
// lines. Times the opening, a move to the next recipe, one line added to a recipe and one
// portion conversion that stores its quantities (medians of repeated runs), then the resident
// memory.
//
// Every action is done as a cook does it (clicks and keys on the window's controls); its time
// includes the events it leaves queued (layout, repaint), since the cook waits for those too.
#include "editor/ricette.h"
#include "finestre.h"
#include "generatore.h"
#include "storage/database.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"

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

constexpr int Aperture = 5;
constexpr int Spostamenti = 200;
constexpr int Aggiunte = 60;
constexpr int Conversioni = 60;

// An action and the events it leaves queued.
template <class Azione> double cronometra(Azione azione)
{
    QElapsedTimer t;
    t.start();
    azione();
    QCoreApplication::processEvents();
    return ms(t);
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
    senzaSchermo();
    QApplication app(argc, argv);
    Silenzio silenzio;
    Dialogs::install(&silenzio);

    QTemporaryDir cartella;
    const QString percorso = QDir(cartella.path()).filePath("Grande.mdb");
    libroGrande(percorso);
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
