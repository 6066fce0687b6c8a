#include "caso.h"
#include "import/finestraimportazione.h"
#include "libro.h"
#include "scripteddialogs.h"
#include "serverweb.h"
#include "shell/avvio.h"
#include "shell/menu.h"
#include "shell/unicoscrittore.h"
#include "storage/database.h"
#include "toolkit/applicazione.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>
#include <optional>
#include <unistd.h>

using namespace Applicazione;

namespace {

// The choice dialog is modal: answered when it shows, with the entry named.
class SceltaAllaComparsa : public QObject
{
public:
    explicit SceltaAllaComparsa(const QString &voce) : voce_(voce)
    {
        qApp->installEventFilter(this);
    }
    ~SceltaAllaComparsa() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (auto *d = qobject_cast<FinestraImportazione *>(o); d && e->type() == QEvent::Show)
            QTimer::singleShot(0, d, [d, voce = voce_] {
                auto *lista = d->findChild<QComboBox *>("CatIng");
                lista->setCurrentIndex(lista->findText(voce));
                d->findChild<QPushButton *>("Command1")->click();
            });
        return false;
    }

private:
    QString voce_;
};

} // namespace

class TstMenu : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> cartella;
    std::unique_ptr<ScriptedDialogs> dialoghi;
    QString precedente;

    QString percorso(const QString &nome) const { return QDir(cartella->path()).filePath(nome); }
    QByteArray leggi(const QString &nome) const { return leggiFile(percorso(nome)); }
    void scrivi(const QString &nome, const QByteArray &contenuto) const
    {
        QFile f(percorso(nome));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contenuto);
    }
    static QByteArray leggiFile(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString etichetta(Menu &m) const { return m.findChild<QLabel *>("Label7")->text(); }
    // A click or a command, and the work it starts (a page fetched, a book converted) to its end.
    void clic(Menu &m, const char *nome)
    {
        m.findChild<QPushButton *>(nome)->click();
        QVERIFY(dialoghi->attendiAvanzamenti());
    }
    void menu(Menu &m, const char *nome)
    {
        m.findChild<QAction *>(nome)->trigger();
        QVERIFY(dialoghi->attendiAvanzamenti());
    }

private slots:
    void init()
    {
        precedente = QDir::currentPath();
        cartella = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(cartella->path());
        dialoghi = std::make_unique<ScriptedDialogs>();
        RicettarioCorrente.clear();
        RicettarioDaImportare.clear();
    }
    void cleanup()
    {
        const bool usate = dialoghi->tutteUsate();
        dialoghi.reset();
        QDir::setCurrent(precedente);
        cartella.reset();
        QVERIFY2(usate, "a scripted answer was not used");
    }

    void settingsFile_namesTheBook_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("libro");
        QTest::addColumn<QString>("nome");
        caso("windows path", QByteArray("D:\\Dolci.mdb\r\n"), "D:\\Dolci.mdb", "Dolci");
        caso("LF ending", QByteArray("/a/Dolci.mdb\n"), "/a/Dolci.mdb", "Dolci");
        caso("no ending", QByteArray("/a/Pane.mdb"), "/a/Pane.mdb", "Pane");
        caso("apostrophe, blank, accents", QString("/a/D'oro/Più caffè.mdb\r\n").toUtf8(),
             "/a/D'oro/Più caffè.mdb", "Più caffè");
        caso("quoted", QByteArray("\"C:\\Nonna.mdb\"\r\n"), "C:\\Nonna.mdb", "Nonna");
        caso("first line only", QByteArray("/a/Uno.mdb\r\n/b/Due.mdb\r\n"), "/a/Uno.mdb", "Uno");
        caso("latin-1 bytes", QByteArray("C:\\Pi\xf9 caff\xe8.mdb\r\n"), "C:\\Più caffè.mdb",
             "Più caffè");
        // Without a folder separator the caption stays as it was: empty at start.
        caso("no separator", QByteArray("Dolci.mdb\r\n"), "Dolci.mdb", "");
        caso("empty", QByteArray(), "", "");
    }
    void settingsFile_namesTheBook()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, libro);
        scrivi("Ricette.ini", contenuto);
        Menu m;
        QCOMPARE(RicettarioCorrente, libro);
        QTEST(etichetta(m), "nome");
        QCOMPARE(m.findChild<QLabel *>("Label7")->toolTip(), libro);
        QCOMPARE(leggi("Ricette.ini"), contenuto); // read, never rewritten at start
    }

    // A settings file that exists but cannot be read still remembers the user's book: the
    // program starts with none and leaves the file alone.
    void settingsCannotBeRead_startsWithNoBookAndKeepsIt()
    {
        // A folder in place of the file: it can be neither read nor written.
        QVERIFY(QDir(cartella->path()).mkdir("Ricette.ini"));
        Menu m;
        QCOMPARE(RicettarioCorrente, QString());
        QCOMPARE(etichetta(m), QString());
        QVERIFY(QFileInfo(percorso("Ricette.ini")).isDir());

        dialoghi->rispondiFile(percorso("Altro.mdb")).rispondi(Dialogs::OK);
        menu(m, "apri");
        QCOMPARE(RicettarioCorrente, percorso("Altro.mdb"));
        QCOMPARE(dialoghi->messaggi().size(), 1);
        QCOMPARE(dialoghi->messaggi().value(0).titolo, QString("Attenzione"));
    }

    void apri_choosesBookAndRemembersIt()
    {
        scrivi("Ricette.ini", "/vecchio/Ricette.mdb\n");
        Menu m;
        // Cancelled on its first use: the book stays, the settings file is written anew.
        dialoghi->rispondiFile(QString());
        menu(m, "apri");
        QCOMPARE(RicettarioCorrente, QString("/vecchio/Ricette.mdb"));
        QCOMPARE(leggi("Ricette.ini"), QByteArray("/vecchio/Ricette.mdb\r\n"));

        dialoghi->rispondiFile("/libri/Dolci.mdb");
        menu(m, "apri");
        QCOMPARE(RicettarioCorrente, QString("/libri/Dolci.mdb"));
        QCOMPARE(etichetta(m), QString("Dolci"));
        QCOMPARE(leggi("Ricette.ini"), QByteArray("/libri/Dolci.mdb\r\n"));

        // Cancelled after an earlier use: the dialog still holds the file chosen then.
        RicettarioCorrente = "/altrove/Pane.mdb";
        dialoghi->rispondiFile(QString());
        menu(m, "apri");
        QCOMPARE(dialoghi->chiamate.last().testo, QString("/libri/Dolci.mdb"));
        QCOMPARE(RicettarioCorrente, QString("/libri/Dolci.mdb"));
    }

    // Without the template "Nuovo" says so and creates nothing; with it, the template is copied;
    // cancelled, nothing is created or emptied.
    void nuovo_copiesTheTemplate()
    {
        Menu m;
        const QByteArray impostazioni = leggi("Ricette.ini");
        dialoghi->rispondiFile(percorso("Dolci.mdb")).rispondi(Dialogs::OK);
        menu(m, "nuovo");
        QCOMPARE(dialoghi->visti(),
                 QStringList{"Attenzione!!: Non è possibile creare un nuovo archivio.\r\n"
                             "I file del programma hanno subito una manomissione.\r\n"
                             "E' necessario installare nuovamente il Pentolone.\r\n"
                             "(Prima si consiglia di effettuare una copia di BackUp del vostro "
                             "ricettario)"});
        QCOMPARE(RicettarioCorrente, percorso("Dolci.mdb"));
        QCOMPARE(leggi("Ricette.ini"), impostazioni);
        QVERIFY(!QFile::exists(percorso("Dolci.mdb")));

        Database::crea(percorso("Ricetta"));
        dialoghi->rispondiFile(percorso("Nuovo libro.mdb"));
        menu(m, "nuovo");
        QVERIFY(dialoghi->chiamate.last().perNuovo);
        QCOMPARE(dialoghi->chiamate.last().titolo, "Nuovo ricettario");
        QCOMPARE(leggi("Nuovo libro.mdb"), leggi("Ricetta"));
        QCOMPARE(RicettarioCorrente, percorso("Nuovo libro.mdb"));
        QCOMPARE(etichetta(m), QString("Nuovo libro"));
        QCOMPARE(leggi("Ricette.ini"), (percorso("Nuovo libro.mdb") + "\r\n").toUtf8());
        QVERIFY(Database::apri(RicettarioCorrente)->aperto());

        const QByteArray prima = leggi("Nuovo libro.mdb");
        dialoghi->rispondiFile(QString());
        menu(m, "nuovo");
        QCOMPARE(leggi("Nuovo libro.mdb"), prima);
    }

    void importa_refusesTheCurrentBook()
    {
        Database::crea(percorso("Ricette.mdb"));
        Menu m;
        // The dialog still holds the book "Apri" chose; "Importa" clears it first.
        dialoghi->rispondiFile(RicettarioCorrente).rispondiFile(RicettarioCorrente);
        dialoghi->rispondi(Dialogs::OK);
        menu(m, "apri");
        // The same file by another path, or through a hard link, is the same book.
        QVERIFY(::link(qPrintable(RicettarioCorrente), qPrintable(percorso("altro.mdb"))) == 0);
        for (const QString &stesso : {cartella->path() + "/./Ricette.mdb", percorso("altro.mdb")})
            dialoghi->rispondiFile(stesso).rispondi(Dialogs::OK);
        for (int volta = 0; volta < 3; ++volta)
            menu(m, "importa");
        const auto file = dialoghi->di("file");
        QCOMPARE(file.value(0).titolo + "|" + file.value(1).titolo + "|" + file.value(1).testo,
                 "Apri ricettario|Importa nel Ricettario corrente|");
        QCOMPARE(dialoghi->visti(), QStringList(3, "Errore di importazione: Il ricettario da "
                                                   "importare non può\r\ncoincidere con quello "
                                                   "corrente."));
        QVERIFY(RicettarioDaImportare.isEmpty());
        QVERIFY(m.isEnabled());

        // A file that is no book is refused before anything is copied.
        dialoghi->rispondiFile("/libri/Altro.mdb").rispondi(Dialogs::OK);
        menu(m, "importa");
        QCOMPARE(dialoghi->visti().value(3),
                 "Errore di importazione: Impossibile trovare il file '/libri/Altro.mdb'.");
        QVERIFY(RicettarioDaImportare.isEmpty());
        QVERIFY(!QFile::exists(percorso("Ricette.old")));

        // Another book opens the import window; closing it gives the main window back.
        Database::crea(percorso("Dolci.mdb"));
        dialoghi->rispondiFile(percorso("Dolci.mdb"));
        menu(m, "importa");
        QCOMPARE(RicettarioDaImportare, percorso("Dolci.mdb"));
        QCOMPARE(QDir::currentPath(), CartellaIniziale);
        QWidget *w = finestra("import");
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), "Importazione di Dolci");
        QVERIFY(!m.isEnabled());
        w->findChild<QPushButton *>("Command2")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m.isEnabled());
    }

    // A MealMaster file, known by its header whatever its name, opens the import window named
    // by the file on its recipes; a damaged one is said and opens nothing.
    void importa_mealMaster_data()
    {
        const QByteArray pane = "---------- Recipe via Meal-Master\n\n      Title: Pane\n\n"
                                "      1 c  Farina\n\n  Impastate.\n";
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("atteso"); // the window's title and recipes, or the message
        caso("recipes", pane + "-----\n", "Importazione di pane.txt: Pane");
        caso("cut short", pane,
             "Errore di importazione: La ricetta \"Pane\" (riga 1 del file pane.txt) è "
             "incompleta: il file finisce prima della sua riga di chiusura. Nessuna ricetta è "
             "stata importata.");
        caso("one cut among whole ones", pane + "-----\n" + pane,
             "Importazione: Dal file pane.txt si importano una ricetta, ma non queste, che non "
             "sono complete:\r\n- la ricetta \"Pane\" (riga 9): il file finisce prima della sua "
             "riga di chiusura.|Importazione di pane.txt: Pane");
    }
    void importa_mealMaster()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, atteso);
        Database::crea(percorso("Ricette.mdb"));
        scrivi("pane.txt", contenuto);
        Menu m;
        dialoghi->rispondiFile(percorso("pane.txt"));
        const bool avviso = atteso.contains('|');
        if (atteso.startsWith("Errore") || avviso)
            dialoghi->rispondi(Dialogs::OK);
        menu(m, "importa");
        QWidget *w = finestra("import");
        const auto ricette = [] {
            return LibroDiProva::righe(RicettarioDaImportare, "SELECT NomeRicetta FROM Ricette");
        };
        QString visto = w ? w->windowTitle() + ": " + ricette().value(0).value(0).toString()
                          : dialoghi->visti().value(0);
        // A warning first, then the window.
        if (avviso)
            visto = dialoghi->visti().value(0) + '|' + visto;
        if (w)
            w->close();
        QCOMPARE(visto, atteso);
    }

    // A saved page is known by its content, chosen in "Importa" or dropped; a dropped link is
    // fetched. Each opens the import window on the page's recipes.
    void webPage_savedChosenOrDropped_data()
    {
        QTest::addColumn<QString>("come"); // "importa" or "drop"
        QTest::addColumn<QString>("cosa"); // a file's name, or "link"
        caso("Importa, .html", "importa", "Pesto.html");
        caso("Importa, saved without extension", "importa", "Pesto");
        caso("drop, saved page", "drop", "Pesto.htm");
        caso("drop, link", "drop", "link");
    }
    void webPage_savedChosenOrDropped()
    {
        QFETCH(QString, come);
        QFETCH(QString, cosa);
        Database::crea(percorso("Ricette.mdb"));
        ServerWeb server;
        // Saved as XHTML: the XML declaration comes first.
        server.pagina = "<?xml version=\"1.0\"?>\n<!DOCTYPE html><html><script "
                        "type=\"application/ld+json\">{\"@type\": "
                        "\"Recipe\", \"name\": \"Pesto\"}</script></html>";
        scrivi(cosa, server.pagina);
        const QUrl dove =
            cosa == "link" ? QUrl(server.indirizzo("/pesto")) : QUrl::fromLocalFile(percorso(cosa));
        Menu m;
        if (come == "importa") {
            dialoghi->rispondiFile(percorso(cosa));
            menu(m, "importa");
        } else {
            QMimeData dati;
            dati.setUrls({dove});
            QDragEnterEvent entra(QPoint(5, 5), Qt::CopyAction, &dati, Qt::LeftButton, {});
            QCoreApplication::sendEvent(&m, &entra);
            QVERIFY(entra.isAccepted());
            QDropEvent lascia(QPointF(5, 5), Qt::CopyAction, &dati, Qt::LeftButton, {});
            QCoreApplication::sendEvent(&m, &lascia);
            QVERIFY(dialoghi->attendiAvanzamenti());
        }
        QWidget *w = finestra("import");
        QVERIFY(w);
        QCOMPARE(w->windowTitle(),
                 "Importazione di " + (cosa == "link" ? dove.toDisplayString() : cosa));
        w->close();
    }

    // A web page into the sample book: its recipe's name and one ingredient are close to ones
    // the book has; the cook adds the recipe, keeps its name and picks the book's ingredient.
    void webPage_importedIntoTheSampleBook()
    {
        const QString libro = percorso("Ricette.mdb");
        QVERIFY(QFile::copy(Avvio::cartellaDeiModelli() + "/Ricette.mdb", libro));
        scrivi("Ricette.ini", libro.toUtf8() + "\r\n");
        ServerWeb server;
        server.pagina = R"(<html><script type="application/ld+json">{"@type": "Recipe",
            "name": "Ciambellone al limone e yogurt", "recipeCategory": "dolci",
            "recipeIngredient": ["300 g di farina 00", "1 bustina di lievito per dolce",
            "1 limone"]}</script></html>)";
        const QString indirizzo = server.indirizzo("/ciambellone");
        QGuiApplication::clipboard()->setText(indirizzo);
        dialoghi->rispondiInput(indirizzo);
        dialoghi->rispondi(Dialogs::Si).rispondi(Dialogs::No).rispondi(Dialogs::No);
        SceltaAllaComparsa scelta("Lievito per dolci");
        const QString ingredienti = "SELECT count(*) FROM Ingredienti";
        const auto valore = [&libro](const QString &sql) {
            return LibroDiProva::righe(libro, sql).value(0).value(0).toString();
        };
        const QString quanti = valore(ingredienti);
        Menu m;
        menu(m, "importaWeb");
        const auto input = dialoghi->di("input").value(0);
        QCOMPARE(
            input.titolo + ": " + input.testo + " [" + input.predefinito + "]",
            "Importa da pagina web: Indirizzo della pagina web con la ricetta da importare: [" +
                indirizzo + "]");
        QWidget *w = finestra("import");
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), "Importazione di " + indirizzo);
        w->findChild<QPushButton *>("Command3")->click();
        QStringList titoli;
        for (const QString &v : dialoghi->visti())
            titoli << v.section(':', 0, 0);
        QCOMPARE(titoli, QStringList({"Attenzione! Esiste già una ricetta simile",
                                      "Attenzione! Esiste già una ricetta simile",
                                      "Attenzione! Esiste già un Ingrediente simile"}));
        QCOMPARE(valore("SELECT r.NomeRicetta || ' [' || c.CategoriaAlimentare || '] ' || "
                        "group_concat(i.Ingrediente || ' ' || l.\"Quantità\" || ' ' || "
                        "ifnull(l.Commenti, ''), ', ') FROM Ricette r JOIN \"Categorie "
                        "alimentari\" c USING "
                        "(IDCategoriaAlimentare) JOIN ingredienti_ricetta l USING (IDRicetta) JOIN "
                        "Ingredienti i USING (IDIngrediente) WHERE r.IDRicetta = (SELECT "
                        "max(IDRicetta) FROM Ricette) GROUP BY r.IDRicetta"),
                 "Ciambellone al limone e yogurt [Dolci] Farina 00 300 g, Lievito per dolci 1 "
                 "bustina, Limone 1 ");
        QCOMPARE(valore(ingredienti), quanti);
        w->close();
    }

    // The address box is wide and proposes a web address found in the clipboard; a saved page
    // typed as a path or a file:// address is imported as "Importa" would take it.
    void webAddressBox_wideAndTakesSavedPages_data()
    {
        QTest::addColumn<QString>("appunti");  // "link": the server's address
        QTest::addColumn<QString>("digitato"); // "link", "file:", "percorso", "nota"
        QTest::addColumn<QString>("atteso");   // the import window's title, or a message's title
        caso("a link in the clipboard", "link", "link", "Importazione di link");
        caso("words in the clipboard, a file:// address", "una ricetta",
             "file:", "Importazione di Pesto.html");
        caso("a path typed", "", "percorso", "Importazione di Pesto.html");
        caso("a file that is no page", "", "nota", "Errore di importazione");
        caso("an address without its scheme", "", "senza schema", "Importazione di link");
        caso("an address without a host", "", "http:///pesto", "Errore di importazione");
        // "Annulla" while the page does not come: nothing is said, nothing opens.
        caso("cancelled while it comes", "", "ferma", "");
    }
    void webAddressBox_wideAndTakesSavedPages()
    {
        QFETCH(QString, appunti);
        QFETCH(QString, digitato);
        QFETCH(QString, atteso);
        Database::crea(percorso("Ricette.mdb"));
        ServerWeb server;
        server.pagina = "<!DOCTYPE html><html><script type=\"application/ld+json\">{\"@type\": "
                        "\"Recipe\", \"name\": \"Pesto\"}</script></html>";
        scrivi("Pesto.html", server.pagina);
        scrivi("nota.txt", "Comprare il basilico.\n");
        const QString link = server.indirizzo("/pesto");
        QGuiApplication::clipboard()->setText(appunti == "link" ? link : appunti);
        const QHash<QString, QString> digitati{
            {"link", link},
            {"file:", QUrl::fromLocalFile(percorso("Pesto.html")).toString()},
            {"nota", percorso("nota.txt")},
            {"percorso", percorso("Pesto.html")},
            {"senza schema", link.mid(QString("http://").size())},
            {"http:///pesto", "http:///pesto"},
            {"ferma", server.indirizzo("/ferma")}};
        dialoghi->rispondiInput(digitati.value(digitato));
        // The progress window's "Annulla", pressed as soon as it shows.
        if (digitato == "ferma")
            dialoghi->annullaAvanzamento();
        if (atteso.startsWith("Errore"))
            dialoghi->rispondi(Dialogs::OK);
        Menu m;
        menu(m, "importaWeb");
        const auto input = dialoghi->di("input").value(0);
        QVERIFY(input.largo);
        QCOMPARE(input.predefinito, appunti == "link" ? link : QString());
        QWidget *w = finestra("import");
        const QString visto = w ? w->windowTitle() : dialoghi->visti().value(0).section(':', 0, 0);
        if (w)
            w->close();
        QCOMPARE(visto, atteso.replace("link", link));
    }

    // While a page is fetched the main window takes no click and no key, even before its
    // progress window shows: what it would start waits for no book. "Annulla" gives it back.
    void work_keepsTheMainWindowStillUntilItEnds()
    {
        Database::crea(percorso("Ricette.mdb"));
        ServerWeb server;
        dialoghi->rispondiInput(server.indirizzo("/ferma"));
        Menu m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        m.findChild<QAction *>("importaWeb")->trigger();
        QCOMPARE(dialoghi->avanzamentiAperti(), 1);
        auto *ricette = m.findChild<QPushButton *>("Command1");
        QTest::mouseClick(ricette, Qt::LeftButton);
        QTest::keyClick(&m, Qt::Key_A, Qt::ControlModifier); // "Apri"
        QCoreApplication::processEvents();
        QVERIFY(!finestra("Ricette"));
        QCOMPARE(dialoghi->di("file").size(), 0);
        dialoghi->premiAnnulla();
        QVERIFY(dialoghi->attendiAvanzamenti());
        QCOMPARE(dialoghi->visti(), QStringList());
        QTest::mouseClick(ricette, Qt::LeftButton);
        QWidget *editor = finestra("Ricette");
        QVERIFY(editor);
        editor->close();
    }

    // A dropped file that is no page is refused as it comes: nothing is read, nothing said.
    void drop_ofAFileThatIsNoPage_isRefused()
    {
        Database::crea(percorso("Ricette.mdb"));
        scrivi("nota.txt", "Comprare il basilico.\n");
        Menu m;
        QMimeData dati;
        dati.setUrls({QUrl::fromLocalFile(percorso("nota.txt"))});
        QDragEnterEvent entra(QPoint(5, 5), Qt::CopyAction, &dati, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&m, &entra);
        QVERIFY(!entra.isAccepted());
        QDropEvent lascia(QPointF(5, 5), Qt::CopyAction, &dati, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&m, &lascia);
        QCoreApplication::processEvents();
        QVERIFY(!finestra("import"));
        QCOMPARE(dialoghi->visti(), QStringList());
    }

    // A page without a category: the cook keeps none, and the editor opens on the recipe
    // without a word about its category.
    void webPage_withoutCategory_opensInTheEditorQuietly()
    {
        const QString libro = percorso("Ricette.mdb");
        QVERIFY(QFile::copy(Avvio::cartellaDeiModelli() + "/Ricette.mdb", libro));
        QFile(libro).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        scrivi("Ricette.ini", libro.toUtf8() + "\r\n");
        ServerWeb server;
        server.pagina = R"(<html><script type="application/ld+json">{"@type": "Recipe",
            "name": "Acciughe marinate", "recipeIngredient": ["500 g di acciughe"]}</script>
            </html>)";
        dialoghi->rispondiInput(server.indirizzo("/acciughe"));
        std::optional<SceltaAllaComparsa> scelta(std::in_place, "(nessuna categoria)");
        Menu m;
        menu(m, "importaWeb");
        QWidget *w = finestra("import");
        QVERIFY(w);
        w->findChild<QPushButton *>("Command3")->click();
        scelta.reset();
        w->findChild<QPushButton *>("Command2")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        clic(m, "Command1");
        QWidget *editor = finestra("Ricette");
        QVERIFY(editor);
        QCOMPARE(editor->findChild<QLineEdit *>("txtFields_1")->text(), "Acciughe marinate");
        QCOMPARE(dialoghi->visti(), QStringList());
        editor->close();
        QVERIFY(LibroDiProva::righe(libro, "SELECT IDCategoriaAlimentare FROM Ricette WHERE "
                                           "NomeRicetta = 'Acciughe marinate'")
                    .value(0)
                    .value(0)
                    .isNull());
    }

    QWidget *finestra(const QString &nome) const
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == nome && w->isVisible())
                return w;
        return nullptr;
    }

    void windows_openOnABookAndKeepMainWindowUnavailable_data()
    {
        QTest::addColumn<QString>("controllo");
        QTest::addColumn<QString>("nome"); // of the window that opens, empty: none
        QTest::addColumn<QString>("titolo");
        // About a missing book, "title: text" with %1 its path; empty: the book is there.
        QTest::addColumn<QString>("messaggio");
        caso("recipes button", "Command1", "Ricette", "Inserimento Ricette - " + IndirizzoWeb, "");
        caso("categories button", "Command2", "Categoriealimentari", "Categorie alimentari", "");
        caso("ingredients button", "Command3", "Ingredienti", "Ingredienti", "");
        caso("list button", "Command5", "Elenco", "Elenco Ricette", "");
        caso("list caption", "Label6", "Elenco", "Elenco Ricette", "");
        caso("about box", "informazioni", "frmSplash", "", "");
        // The captions skip the check: the window itself meets the missing book.
        const QString perso =
            "Pentolone: Data error event hit err:Impossibile trovare il file '%1'.";
        caso("categories caption", "Label3", "Categoriealimentari", "Categorie alimentari", perso);
        caso("ingredients caption", "Label4", "Ingredienti", "Ingredienti", perso);
        const QString manca = "Errore!: Il ricettario che si tenta di aprire non è stato trovato.";
        caso("recipes without a book", "Command1", "", "", manca);
        caso("categories without a book", "Command2", "", "", manca);
        caso("ingredients without a book", "Command3", "", "", manca);
        caso("list without a book", "Command5", "", "", manca);
    }
    void windows_openOnABookAndKeepMainWindowUnavailable()
    {
        QFETCH(QString, controllo);
        QFETCH(QString, nome);
        QFETCH(QString, messaggio);
        if (messaggio.isEmpty())
            Database::crea(percorso("Ricette.mdb"));
        else
            dialoghi->rispondi(Dialogs::OK);
        Menu m;
        m.show();
        if (controllo.startsWith("Label"))
            QTest::mouseDClick(m.findChild<QLabel *>(controllo), Qt::LeftButton);
        else if (controllo.startsWith("Command"))
            clic(m, qPrintable(controllo));
        else
            menu(m, qPrintable(controllo));
        QCOMPARE(dialoghi->visti().join(""), messaggio.replace("%1", percorso("Ricette.mdb")));
        if (nome.isEmpty()) // the launchers' missing-book box carries the critical icon
            QCOMPARE(dialoghi->messaggi().value(0).icona, int(Dialogs::Critica));
        QCOMPARE(m.isEnabled(), nome.isEmpty());
        if (nome.isEmpty())
            return;
        QWidget *w = finestra(nome);
        QVERIFY(w);
        QTEST(w->windowTitle(), "titolo");
        // It stays above the main window, and a click that activates the main window brings
        // it forward.
        QCOMPARE(w->windowHandle()->transientParent(), m.windowHandle());
        m.activateWindow();
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), w);
        const char *chiudi = nome == "frmSplash" ? "Command1"
                             : nome == "Elenco"  ? "Command2"
                                                 : "cmdChiudi";
        w->findChild<QPushButton *>(chiudi)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!finestra(nome));
        QVERIFY(m.isEnabled());
    }

    // A book in the older format, wherever it is opened, becomes a copy in ours when the user
    // agrees; the original is never written, and No changes nothing.
    void accessBook_isConvertedWhenAsked_data()
    {
        QTest::addColumn<QString>("dove"); // "apri", "avvio", "pulsante", "importa"
        QTest::addColumn<bool>("si");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("annulla"); // "Annulla" in the progress window
        for (const char *dove : {"apri", "avvio", "pulsante", "importa"})
            for (const bool si : {true, false})
                QTest::addRow("%s, %s", dove, si ? "yes" : "no")
                    << QString(dove) << si << "ricettario-access2003.mdb" << false;
        // An Access file that is no recipe book: the error, with no progress left over it.
        caso("apri, no book, yes", "apri", true, "jet3-generic.mdb", false);
        // Cancelled while it converts: nothing said, no copy, the book of before still current.
        caso("apri, yes, cancelled", "apri", true, "ricettario-access2003.mdb", true);
        caso("pulsante, yes, cancelled", "pulsante", true, "ricettario-access2003.mdb", true);
    }
    void accessBook_isConvertedWhenAsked()
    {
        QFETCH(QString, dove);
        QFETCH(bool, si);
        QFETCH(QString, file);
        QFETCH(bool, annulla);
        const QString vecchio = percorso("Nonna.mdb");
        QVERIFY(QFile::copy(QStringLiteral(FIXTURE_ACCESS "/") + file, vecchio));
        const bool libro = file.startsWith("ricettario");
        bool coperto = false;
        dialoghi->allaComparsa = [this, &coperto] {
            coperto = coperto || dialoghi->avanzamentiAperti() > 0;
        };
        const QByteArray originale = leggi("Nonna.mdb");
        Database::crea(percorso("Ricette.mdb"));
        const QString copia = percorso("Nonna.pentolone.mdb");
        const QString corrente =
            dove == "importa" || dove == "apri" ? percorso("Ricette.mdb") : vecchio;
        if (dove == "avvio" || dove == "pulsante")
            scrivi("Ricette.ini", vecchio.toUtf8() + "\r\n");
        // Started on the old book, the question comes at once; answered No, again at a button.
        if (dove == "pulsante")
            dialoghi->rispondi(Dialogs::No);
        if (dove == "avvio" || dove == "pulsante")
            dialoghi->rispondi(si ? Dialogs::Si : Dialogs::No);
        if (dove == "apri" || dove == "importa")
            dialoghi->rispondiFile(vecchio).rispondi(si ? Dialogs::Si : Dialogs::No);
        if (!libro)
            dialoghi->rispondi(Dialogs::OK);
        if (annulla)
            dialoghi->annullaAvanzamento();
        Menu m;
        QVERIFY(dialoghi->attendiAvanzamenti()); // a conversion started with the program
        if (dove == "apri" || dove == "importa")
            menu(m, qPrintable(dove));
        else if (dove == "pulsante")
            clic(m, "Command2");
        const ScriptedDialogs::Chiamata domanda = dialoghi->messaggi().value(0);
        QCOMPARE(domanda.titolo + ": " + domanda.testo,
                 "Ricettario in un formato più vecchio: Il file \"Nonna.mdb\" è un ricettario in "
                 "un formato più vecchio. Pentolone ne crea una copia nel suo formato, "
                 "\"Nonna.pentolone.mdb\", nella stessa cartella; il file originale resta com'è."
                 "\r\nCreare la copia e aprirla?");
        const bool convertito = si && libro && !annulla;
        QCOMPARE(QFile::exists(copia), convertito);
        QCOMPARE(dialoghi->di("avanzamento").size(), int(si));
        QCOMPARE(leggi("Nonna.mdb"), originale);
        QVERIFY(!coperto);
        if (!libro)
            QCOMPARE(dialoghi->visti().value(1).section(':', 0, 0), "Errore!");
        if (dove == "importa") {
            QCOMPARE(RicettarioDaImportare, convertito ? copia : QString());
            QCOMPARE(RicettarioCorrente, corrente);
            if (QWidget *w = finestra("import"))
                w->close();
        } else {
            QCOMPARE(RicettarioCorrente, convertito ? copia : corrente);
            QCOMPARE(leggi("Ricette.ini"), RicettarioCorrente.toUtf8() + "\r\n");
        }
        if (QWidget *w = finestra("Categoriealimentari")) {
            QVERIFY(convertito && dove == "pulsante");
            w->close();
        }
    }

    // The desktop menu starts in the user's own folder, made on first start with the template
    // and the sample book; from a terminal the folder stays; a book on the command line is
    // opened as "Apri" opens one, and remembered.
    void start_folderAndCommandLineBook_data()
    {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("variabile"); // PENTOLONE_DIR, relative to the home folder
        QTest::addColumn<QString>("cartella");  // the working folder afterwards, likewise
        QTest::addColumn<QString>("libro");     // the current book afterwards, likewise
        QTest::addColumn<QString>("messaggio");
        const QStringList menu{"pentolone", "--cartella-personale"};
        caso("menu, first start", menu, "", "Pentolone", "Pentolone/Ricette.mdb", "");
        caso("menu, a folder of one's choice", menu, "Cucina", "Cucina", "Cucina/Ricette.mdb", "");
        caso("menu, books already there", menu, "Mia", "Mia", "Mia/Ricette.mdb", "");
        caso("menu with a book", menu + QStringList{"Dolci.mdb"}, "", "Pentolone",
             "terminale/Dolci.mdb", "");
        caso("terminal", QStringList{"pentolone"}, "", "terminale", "terminale/Ricette.mdb", "");
        caso("terminal with a book", QStringList{"pentolone", "Dolci.mdb"}, "", "terminale",
             "terminale/Dolci.mdb", "");
        caso("a book that is not there", QStringList{"pentolone", "Manca.mdb"}, "", "terminale",
             "terminale/Ricette.mdb",
             "Errore!: Il ricettario che si tenta di aprire non è stato trovato.");
    }
    void start_folderAndCommandLineBook()
    {
        QFETCH(QStringList, argomenti);
        QFETCH(QString, variabile);
        QFETCH(QString, cartella);
        QFETCH(QString, libro);
        QFETCH(QString, messaggio);
        const QString casa = percorso("casa");
        const QByteArray vecchiaCasa = qgetenv("HOME");
        qputenv("HOME", casa.toUtf8());
        qunsetenv("PENTOLONE_DIR");
        if (!variabile.isEmpty())
            qputenv("PENTOLONE_DIR", (casa + "/" + variabile).toUtf8());
        QDir().mkpath(casa + "/terminale");
        QDir().mkpath(casa + "/Mia");
        const QByteArray mio = "il mio ricettario";
        scrivi("casa/Mia/Ricette.mdb", mio);
        Database::crea(casa + "/terminale/Dolci.mdb");
        QDir::setCurrent(casa + "/terminale");
        if (!messaggio.isEmpty())
            dialoghi->rispondi(Dialogs::OK);

        const QString scelto = Avvio::avvia(Avvio::leggi(argomenti));
        Menu m;
        if (!scelto.isEmpty())
            m.ApriDaRigaDiComando(scelto);
        qputenv("HOME", vecchiaCasa);
        qunsetenv("PENTOLONE_DIR");

        QCOMPARE(QDir::currentPath(), casa + "/" + cartella);
        QCOMPARE(CartellaIniziale, QDir::currentPath());
        QCOMPARE(RicettarioCorrente, casa + "/" + libro);
        QCOMPARE(etichetta(m), QFileInfo(libro).completeBaseName());
        QCOMPARE(leggi("casa/" + cartella + "/Ricette.ini"),
                 (casa + "/" + libro).toUtf8() + "\r\n");
        QCOMPARE(dialoghi->visti().join(""), messaggio);
        if (argomenti.contains("--cartella-personale")) {
            // The sample book and the template came from the build, and can be written; so
            // can copies of installed, read-only ones.
            const QString installati = casa + "/installati";
            QVERIFY(QDir().mkpath(installati));
            for (const char *nome : {"Ricetta", "Ricette.mdb"}) {
                QVERIFY(
                    QFile::copy(Avvio::cartellaDeiModelli() + "/" + nome, installati + "/" + nome));
                QVERIFY(QFile::setPermissions(installati + "/" + nome, QFile::ReadOwner));
            }
            QVERIFY(Avvio::preparaCartella(casa + "/copiati", installati));
            for (const QString &copiati : {casa + "/" + cartella, casa + "/copiati"})
                for (const char *nome : {"Ricetta", "Ricette.mdb"})
                    QVERIFY(QFileInfo(copiati + "/" + nome).permissions() & QFile::WriteOwner);
            QCOMPARE(leggi("casa/Mia/Ricette.mdb"), mio);
            if (cartella != "Mia")
                QCOMPARE(leggi("casa/" + cartella + "/Ricette.mdb"),
                         leggiFile(Avvio::cartellaDeiModelli() + "/Ricette.mdb"));
        }
    }

    // A second copy of the program started on the book a first one has open (by the settings
    // file, by name, by another path to the same file) says so, calls the first forward and
    // ends; on another book it starts as usual.
    void secondCopy_onTheSameBook_callsTheFirstForward_data()
    {
        QTest::addColumn<QString>("ricordato"); // the second copy's settings file
        QTest::addColumn<QString>("chiesto");   // its command line
        QTest::addColumn<bool>("avviata");
        caso("same book", "Ricette.mdb", "", false);
        caso("same book named", "Altro.mdb", "Ricette.mdb", false);
        caso("same book by another path", "Altro.mdb", "collegamento/./Ricette.mdb", false);
        caso("another book", "Altro.mdb", "", true);
        caso("another book named", "Ricette.mdb", "Altro.mdb", true);
    }
    void secondCopy_onTheSameBook_callsTheFirstForward()
    {
        QFETCH(QString, ricordato);
        QFETCH(QString, chiesto);
        QFETCH(bool, avviata);
        Database::crea(percorso("Ricette.mdb"));
        Database::crea(percorso("Altro.mdb"));
        QVERIFY(QFile::link(cartella->path(), percorso("collegamento")));
        Menu prima;
        QVERIFY(prima.Avvia(QString()));
        prima.setWindowState(Qt::WindowMinimized);
        QSignalSpy chiamata(prima.findChild<UnicoScrittore *>(), &UnicoScrittore::chiamata);

        scrivi("Ricette.ini", percorso(ricordato).toUtf8() + "\r\n");
        if (!avviata)
            dialoghi->rispondi(Dialogs::OK);
        Menu seconda;
        QCOMPARE(seconda.Avvia(chiesto.isEmpty() ? QString() : percorso(chiesto)), avviata);
        QCOMPARE(seconda.isVisible(), avviata);
        if (avviata) {
            QVERIFY(dialoghi->visti().isEmpty());
            QCOMPARE(RicettarioCorrente, percorso("Altro.mdb"));
            return;
        }
        QCOMPARE(dialoghi->visti(),
                 QStringList{"Ricettario già aperto: Il ricettario \"Ricette\" è già aperto in "
                             "un'altra finestra di Pentolone.\r\nPremete OK per passare a "
                             "quella finestra."});
        QCOMPARE(dialoghi->messaggi().value(0).icona, int(Dialogs::Informazione));
        QVERIFY(chiamata.wait());
        QVERIFY(!(prima.windowState() & Qt::WindowMinimized));
    }

    // The book a copy holds follows "Apri" and "Nuovo": a book open in another copy is neither
    // opened a second time nor replaced by a new one; once that copy moves on, it is free.
    void apriNuovo_leaveABookOpenElsewhereAlone()
    {
        for (const char *nome : {"Ricette.mdb", "Altro.mdb", "Dolci.mdb"})
            Database::crea(percorso(nome));
        Database::crea(percorso("Ricetta"));
        Menu prima;
        QVERIFY(prima.Avvia(QString()));
        QSignalSpy chiamata(prima.findChild<UnicoScrittore *>(), &UnicoScrittore::chiamata);
        scrivi("Ricette.ini", percorso("Altro.mdb").toUtf8() + "\r\n");
        Menu seconda;
        QVERIFY(seconda.Avvia(QString()));

        dialoghi->rispondiFile(percorso("Ricette.mdb")).rispondi(Dialogs::OK);
        menu(seconda, "apri");
        QCOMPARE(RicettarioCorrente, percorso("Altro.mdb"));
        QCOMPARE(etichetta(seconda), QString("Altro"));
        QCOMPARE(leggi("Ricette.ini"), percorso("Altro.mdb").toUtf8() + "\r\n");
        QVERIFY(chiamata.wait());

        const QByteArray libro = leggi("Ricette.mdb");
        dialoghi->rispondiFile(percorso("Ricette.mdb")).rispondi(Dialogs::OK);
        menu(seconda, "nuovo");
        QCOMPARE(leggi("Ricette.mdb"), libro);
        QCOMPARE(RicettarioCorrente, percorso("Altro.mdb"));
        QCOMPARE(dialoghi->visti().value(1),
                 "Ricettario già aperto: Il ricettario \"Ricette\" è già aperto in un'altra "
                 "finestra di Pentolone.\r\nNon è possibile sostituirlo con un ricettario nuovo "
                 "finché è aperto.");
        QCOMPARE(dialoghi->messaggi().value(1).icona, int(Dialogs::Esclamazione));

        // The first copy moves to "Dolci": "Ricette" is free, "Dolci" is not.
        dialoghi->rispondiFile(percorso("Dolci.mdb"));
        menu(prima, "apri");
        dialoghi->rispondiFile(percorso("Ricette.mdb"));
        menu(seconda, "apri");
        QCOMPARE(RicettarioCorrente, percorso("Ricette.mdb"));
        dialoghi->rispondiFile(percorso("Dolci.mdb")).rispondi(Dialogs::OK);
        menu(seconda, "nuovo");
        QCOMPARE(RicettarioCorrente, percorso("Ricette.mdb"));
        QCOMPARE(dialoghi->visti().size(), 3);
        // A book made by "Nuovo" is held as soon as it is there.
        dialoghi->rispondiFile(percorso("Nuovo.mdb"));
        menu(seconda, "nuovo");
        dialoghi->rispondiFile(percorso("Nuovo.mdb")).rispondi(Dialogs::OK);
        menu(prima, "apri");
        QCOMPARE(RicettarioCorrente, percorso("Nuovo.mdb"));
        QCOMPARE(etichetta(prima), QString("Dolci"));
        QCOMPARE(dialoghi->visti().size(), 4);
    }

    void links_reachTheirDialog()
    {
        Menu m;
        menu(m, "aiuto");
        QTest::mouseClick(m.findChild<QLabel *>("www"), Qt::LeftButton);
        const QList<ScriptedDialogs::Chiamata> c = dialoghi->chiamate;
        QCOMPARE(c.size(), 2);
        QCOMPARE(QString("%1 %2 %3").arg(c[0].tipo, c[0].testo).arg(c[0].comando),
                 QString("guida Pentolone.hlp 3"));
        QCOMPARE(c[1].tipo + ' ' + c[1].testo, "web " + IndirizzoWeb);
    }
};

QTEST_MAIN(TstMenu)
#include "tst_menu.moc"
