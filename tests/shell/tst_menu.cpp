#include "applicazione.h"
#include "database.h"
#include "libro.h"
#include "menu.h"
#include "scripteddialogs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Applicazione;

class TstMenu : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> cartella;
    std::unique_ptr<ScriptedDialogs> dialoghi;
    QString precedente;

    QString percorso(const QString &nome) const { return QDir(cartella->path()).filePath(nome); }
    QByteArray leggi(const QString &nome) const
    {
        QFile f(percorso(nome));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void scrivi(const QString &nome, const QByteArray &contenuto) const
    {
        QFile f(percorso(nome));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contenuto);
    }
    QString etichetta(Menu &m) const { return m.findChild<QLabel *>("Label7")->text(); }
    void clic(Menu &m, const char *nome) { m.findChild<QPushButton *>(nome)->click(); }
    void menu(Menu &m, const char *nome) { m.findChild<QAction *>(nome)->trigger(); }

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

    void firstStart_writesDefaultSettings()
    {
        Menu m;
        QCOMPARE(CartellaIniziale, cartella->path());
        QCOMPARE(RicettarioCorrente, percorso("Ricette.mdb"));
        QCOMPARE(leggi("Ricette.ini"), (percorso("Ricette.mdb") + "\r\n").toUtf8());
        QCOMPARE(etichetta(m), QString("Ricette"));
        QCOMPARE(m.findChild<QLabel *>("Label7")->toolTip(), percorso("Ricette.mdb"));
    }

    void settingsFile_namesTheBook_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("libro");
        QTest::addColumn<QString>("nome");
        QTest::newRow("windows path")
            << QByteArray("D:\\Libri\\Dolci.mdb\r\n") << "D:\\Libri\\Dolci.mdb"
            << "Dolci";
        QTest::newRow("LF ending") << QByteArray("/home/a/Dolci.mdb\n") << "/home/a/Dolci.mdb"
                                   << "Dolci";
        QTest::newRow("no ending") << QByteArray("/home/a/Pane.mdb") << "/home/a/Pane.mdb"
                                   << "Pane";
        QTest::newRow("spaces and comma")
            << QByteArray("/home/a/Le mie ricette, 2024/Torte e biscotti.mdb\r\n")
            << "/home/a/Le mie ricette, 2024/Torte e biscotti.mdb"
            << "Torte e biscotti";
        QTest::newRow("apostrophe and accents")
            << QString("/home/a/Cucina d'autunno/Più caffè.mdb\r\n").toUtf8()
            << "/home/a/Cucina d'autunno/Più caffè.mdb"
            << "Più caffè";
        QTest::newRow("quoted") << QByteArray("\"C:\\Cucina\\Nonna.mdb\"\r\n")
                                << "C:\\Cucina\\Nonna.mdb"
                                << "Nonna";
        QTest::newRow("only the first line")
            << QByteArray("/a/Uno.mdb\r\n/b/Due.mdb\r\n") << "/a/Uno.mdb"
            << "Uno";
        QTest::newRow("latin-1 bytes")
            << QByteArray("C:\\Cucina\\Pi\xf9 caff\xe8.mdb\r\n") << "C:\\Cucina\\Più caffè.mdb"
            << "Più caffè";
        // Without a folder separator the caption stays as it was: empty at start.
        QTest::newRow("no separator") << QByteArray("Dolci.mdb\r\n") << "Dolci.mdb" << QString();
        QTest::newRow("empty") << QByteArray() << QString() << QString();
    }
    void settingsFile_namesTheBook()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, libro);
        QFETCH(QString, nome);
        scrivi("Ricette.ini", contenuto);
        Menu m;
        QCOMPARE(RicettarioCorrente, libro);
        QCOMPARE(etichetta(m), nome);
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
        QCOMPARE(dialoghi->chiamate.value(0).titolo, QString("Ricette |*.mdb"));

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

    void nuovo_copiesTheTemplate()
    {
        Database::crea(percorso("Ricetta"));
        Menu m;
        dialoghi->rispondiFile(percorso("Nuovo libro.mdb"));
        menu(m, "nuovo");
        QVERIFY(dialoghi->chiamate.last().perNuovo);
        QCOMPARE(leggi("Nuovo libro.mdb"), leggi("Ricetta"));
        QCOMPARE(RicettarioCorrente, percorso("Nuovo libro.mdb"));
        QCOMPARE(etichetta(m), QString("Nuovo libro"));
        QCOMPARE(leggi("Ricette.ini"), (percorso("Nuovo libro.mdb") + "\r\n").toUtf8());
        QVERIFY(Database::apri(RicettarioCorrente)->aperto());

        // Cancelled later: nothing is created or emptied.
        LibroDiProva().ricetta("Non toccare");
        const QByteArray prima = leggi("Nuovo libro.mdb");
        dialoghi->rispondiFile(QString());
        menu(m, "nuovo");
        QCOMPARE(leggi("Nuovo libro.mdb"), prima);
    }

    void nuovo_withoutTemplate_saysSo()
    {
        Menu m;
        const QByteArray impostazioni = leggi("Ricette.ini");
        dialoghi->rispondiFile(percorso("Dolci.mdb")).rispondi(Dialogs::OK);
        menu(m, "nuovo");
        QCOMPARE(dialoghi->messaggi().size(), 1);
        const ScriptedDialogs::Chiamata c = dialoghi->messaggi().value(0);
        QCOMPARE(c.testo, QString("Non è possibile creare un nuovo archivio.\r\n"
                                  "I file del programma hanno subito una manomissione.\r\n"
                                  "E' necessario installare nuovamente il Pentolone.\r\n"
                                  "(Prima si consiglia di effettuare una copia di BackUp del "
                                  "vostro ricettario)"));
        QCOMPARE(c.titolo, QString("Attenzione!!"));
        QCOMPARE(c.pulsanti, int(Dialogs::SoloOK));
        QCOMPARE(RicettarioCorrente, percorso("Dolci.mdb"));
        QCOMPARE(leggi("Ricette.ini"), impostazioni);
        QVERIFY(!QFile::exists(percorso("Dolci.mdb")));
    }

    void importa_refusesTheCurrentBook()
    {
        Database::crea(percorso("Ricette.mdb"));
        Menu m;
        // The dialog still holds the book "Apri" chose; "Importa" clears it first.
        dialoghi->rispondiFile(RicettarioCorrente).rispondiFile(RicettarioCorrente);
        dialoghi->rispondi(Dialogs::OK);
        menu(m, "apri");
        menu(m, "importa");
        QCOMPARE(dialoghi->di("file").value(1).testo, QString());
        const ScriptedDialogs::Chiamata c = dialoghi->messaggi().value(0);
        QCOMPARE(c.testo,
                 QString("Il ricettario da importare non può\r\ncoincidere con quello corrente."));
        QCOMPARE(c.titolo, QString("Errore di importazione"));
        QCOMPARE(c.pulsanti, int(Dialogs::SoloOK));
        QVERIFY(RicettarioDaImportare.isEmpty());
        QVERIFY(m.isEnabled());

        // The same file by another path is the same book.
        dialoghi->rispondiFile(cartella->path() + "/./Ricette.mdb").rispondi(Dialogs::OK);
        menu(m, "importa");
        QCOMPARE(dialoghi->messaggi().size(), 2);

        dialoghi->rispondiFile("/libri/Altro.mdb");
        menu(m, "importa");
        QCOMPARE(RicettarioDaImportare, QString("/libri/Altro.mdb"));
        QCOMPARE(QDir::currentPath(), CartellaIniziale);
    }

    void launchers_checkTheBook_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::newRow("ricette") << "Command1";
        QTest::newRow("categorie") << "Command2";
        QTest::newRow("ingredienti") << "Command3";
        QTest::newRow("elenco") << "Command5";
    }
    void launchers_checkTheBook()
    {
        QFETCH(QString, pulsante);
        Menu m;
        dialoghi->rispondi(Dialogs::OK);
        clic(m, qPrintable(pulsante));
        QCOMPARE(dialoghi->messaggi().size(), 1);
        const ScriptedDialogs::Chiamata c = dialoghi->messaggi().value(0);
        QCOMPARE(c.testo, QString("Il ricettario che si tenta di aprire non è stato trovato."));
        QCOMPARE(c.titolo, QString("Errore!"));
        QCOMPARE(c.icona, int(Dialogs::Critica));
        QCOMPARE(c.pulsanti, int(Dialogs::SoloOK));
        QVERIFY(m.isEnabled());
    }

    QWidget *finestra(const QString &nome) const
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == nome && w->isVisible())
                return w;
        return nullptr;
    }

    void windows_keepMainWindowUnavailable_data()
    {
        QTest::addColumn<QString>("controllo");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("libro");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("recipes button")
            << "Command1"
            << "Ricette" << true << "Inserimento Ricette - " + IndirizzoWeb;
        QTest::newRow("categories button")
            << "Command2"
            << "Categoriealimentari" << true << "Categorie alimentari";
        QTest::newRow("ingredients button") << "Command3"
                                            << "Ingredienti" << true << "Ingredienti";
        // The captions skip the test: the window itself meets the missing book.
        QTest::newRow("categories caption")
            << "Label3"
            << "Categoriealimentari" << false << "Categorie alimentari";
        QTest::newRow("ingredients caption") << "Label4"
                                             << "Ingredienti" << false << "Ingredienti";
        QTest::newRow("about box") << "informazioni"
                                   << "frmSplash" << true << QString();
    }
    void windows_keepMainWindowUnavailable()
    {
        QFETCH(QString, controllo);
        QFETCH(QString, nome);
        QFETCH(bool, libro);
        QFETCH(QString, titolo);
        if (libro)
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
        QWidget *w = finestra(nome);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), titolo);
        QVERIFY(!m.isEnabled());
        if (!libro)
            QCOMPARE(dialoghi->messaggi().value(0).testo,
                     "Data error event hit err:Impossibile trovare il file '" +
                         percorso("Ricette.mdb") + "'.");
        w->findChild<QPushButton *>(nome == "frmSplash" ? "Command1" : "cmdChiudi")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!finestra(nome));
        QVERIFY(m.isEnabled());
    }

    void links_reachTheirDialog_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("comando");
        QTest::newRow("help contents") << "guida"
                                       << "Pentolone.hlp" << 3;
        QTest::newRow("web label") << "web" << IndirizzoWeb << 0;
    }
    void links_reachTheirDialog()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, testo);
        QFETCH(int, comando);
        Menu m;
        if (tipo == "guida")
            menu(m, "aiuto");
        else
            QTest::mouseClick(m.findChild<QLabel *>("www"), Qt::LeftButton);
        QCOMPARE(dialoghi->chiamate.size(), 1);
        const ScriptedDialogs::Chiamata c = dialoghi->chiamate.value(0);
        QCOMPARE(c.tipo, tipo);
        QCOMPARE(c.testo, testo);
        QCOMPARE(c.comando, comando);
    }
};

QTEST_MAIN(TstMenu)
#include "tst_menu.moc"
