// The shopping list: the adding-up rules, the departments, the ticks, the side file beside the
// book, the printouts and the QR codes.
#include "caso.h"
#include "libro.h"
#include "principale.h"
#include "scripteddialogs.h"
#include "spesa/codiceqr.h"
#include "spesa/listaspesa.h"
#include "spesa/reparti.h"
#include "spesa/spesa.h"
#include "spesa/tabellareparti.h"
#include "spesa/telefono.h"
#include "spesa/testo.h"
#include "storage/database.h"
#include "storage/filelaterale.h"
#include "superficieregistrata.h"
#include "toolkit/applicazione.h"

#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <qrencode.h>

using namespace Applicazione;

class TstSpesa : public QObject
{
    Q_OBJECT

    std::unique_ptr<LibroDiProva> libro;
    std::unique_ptr<ScriptedDialogs> dialoghi;
    QHash<QString, qint64> ingredienti;
    QLocale localeIniziale;

    // "Lasagne|4|8|Farina 00=200=g;Sale==q.b.": name, the recipe's portions, the list's, lines.
    qint64 ricetta(const QString &descrizione)
    {
        const QStringList p = descrizione.split('|');
        const qint64 r = libro->ricetta(p.at(0));
        libro->esegui("UPDATE Ricette SET NumeroPorzioni = ? WHERE IDRicetta = ?",
                      {p.at(1).toInt(), r});
        for (const QString &riga : p.at(3).split(';', Qt::SkipEmptyParts)) {
            const QStringList c = riga.split('=');
            if (!ingredienti.contains(c.at(0)))
                ingredienti.insert(c.at(0), libro->ingrediente(c.at(0)));
            libro->riga(r, ingredienti.value(c.at(0)), c.at(1), c.value(2));
        }
        return r;
    }
    // The recipes into the list, each for the portions its description gives.
    void inLista(ListaSpesa &lista, const QStringList &ricette)
    {
        QList<std::pair<qint64, int>> r;
        for (const QString &d : ricette)
            r.append({ricetta(d), d.section('|', 2, 2).toInt()});
        lista.aggiungi(r);
    }
    static QStringList voci(ListaSpesa &lista)
    {
        QStringList t;
        for (const Voce &v : lista.leggi().voci)
            t << v.reparto + '|' + v.testo();
        return t;
    }
    template <class T> static T *w(QWidget *f, const char *nome)
    {
        T *c = f->findChild<T *>(nome);
        if (!c)
            qFatal("no control %s", nome);
        return c;
    }
    static QTreeWidgetItem *voce(QTreeWidget *t, const QString &inizio)
    {
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            for (int j = 0; j < t->topLevelItem(i)->childCount(); ++j)
                if (t->topLevelItem(i)->child(j)->text(0).startsWith(inizio))
                    return t->topLevelItem(i)->child(j);
        return nullptr;
    }
    // A click on a row of a view, as the mouse gives it.
    static void clic(QTreeWidget *t, QTreeWidgetItem *i, int colonna)
    {
        QRect r = t->visualItemRect(i);
        r.setLeft(t->header()->sectionViewportPosition(colonna));
        r.setWidth(t->header()->sectionSize(colonna));
        QPoint dove = r.center();
        if (colonna == 1) {
            // The tick box stands at the start of its cell.
            QStyleOptionViewItem o;
            o.rect = r;
            o.features = QStyleOptionViewItem::HasCheckIndicator;
            dove =
                t->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &o, t).center();
        }
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, dove);
    }
    static bool mostrata(QWidget &finestra)
    {
        finestra.show();
        return QTest::qWaitForWindowExposed(&finestra);
    }
    QByteArray impronta(const QString &file) const
    {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

private slots:
    void initTestCase()
    {
        localeIniziale = QLocale();
        // A combo box's list ignores a release closer to its opening than a double click: the
        // mouse's pick in a test comes at once.
        QApplication::setDoubleClickInterval(0);
    }

    void init()
    {
        libro = std::make_unique<LibroDiProva>();
        dialoghi = std::make_unique<ScriptedDialogs>();
        ingredienti.clear();
        RicettarioCorrente = libro->percorso();
        QLocale::setDefault(QLocale("it_IT"));
    }

    void cleanup()
    {
        QVERIFY2(dialoghi->tutteUsate(), "an answer queued for a dialog was not used");
        dialoghi.reset();
        libro.reset();
        QLocale::setDefault(localeIniziale);
    }

    void somma_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("ricette");
        QTest::addColumn<QStringList>("attese");
        struct Riga
        {
            const char *nome;
            QStringList ricette, attese;
        };
        const Riga righe[] = {
            {"stesso ingrediente e unità",
             {"Torta|4|4|Farina 00=200=g", "Pane|4|4|Farina 00=300=g"},
             {"Dispensa|Farina 00: 500 g"}},
            {"g con kg nella più grande",
             {"Torta|4|4|Farina=500=g", "Pane|4|4|Farina=1=kg"},
             {"Dispensa|Farina: 1,5 kg"}},
            {"g con kg sotto il chilo in g",
             {"Torta|4|4|Burro=100=g", "Pane|4|4|Burro=0.2=kg"},
             {"Latticini e uova|Burro: 300 g"}},
            {"g che non fanno kg esatti",
             {"Torta|4|4|Zucchero=1234=g"},
             {"Dispensa|Zucchero: 1234 g"}},
            {"g da soli oltre il chilo",
             {"Torta|4|4|Zucchero=600=g", "Crema|4|4|Zucchero=600=gr."},
             {"Dispensa|Zucchero: 1,2 kg"}},
            {"solo kg restano kg",
             {"Purè|4|4|Patate=1=kg", "Gnocchi|4|4|Patate=0.5=kg"},
             {"Frutta e verdura|Patate: 1,5 kg"}},
            {"kg con tre decimali in g",
             {"Pizza|4|4|Lievito=0.025=kg"},
             {"Dispensa|Lievito: 25 g"}},
            {"ml con l",
             {"Crema|4|4|Latte=0.5=l", "Budino|4|4|Latte=250=ml"},
             {"Latticini e uova|Latte: 750 ml"}},
            {"unità diverse fianco a fianco",
             {"Torta|4|4|Farina 00=500=g", "Besciamella|4|4|Farina 00=2=cucchiai"},
             {"Dispensa|Farina 00: 500 g + 2 cucchiai"}},
            {"singolare e plurale insieme",
             {"Sugo|4|4|Aglio=1=spicchio", "Arrosto|4|4|Aglio=2=spicchi"},
             {"Frutta e verdura|Aglio: 3 spicchi"}},
            {"unità seguita da virgola",
             {"Lasagne|4|4|Parmigiano=100=g, grattugiato", "Pasta|4|4|Parmigiano=40=g."},
             {"Latticini e uova|Parmigiano: 140 g"}},
            {"uno al singolare",
             {"Sugo|4|4|Aglio=1=spicchio (schiacciato)"},
             {"Frutta e verdura|Aglio: 1 spicchio"}},
            {"senza unità si contano",
             {"Frittata|4|4|Uova=2=", "Torta|4|4|Uova=3=grandi"},
             {"Latticini e uova|Uova: 5"}},
            {"q.b. una volta senza numero",
             {"Sugo|4|4|Sale=0=q.b.", "Arrosto|4|4|Sale==q.b.", "Pane|4|4|Sale=0=q.b."},
             {"Spezie e aromi|Sale"}},
            {"q.b. accanto a un numero",
             {"Pane|4|4|Sale=10=g", "Sugo|4|4|Sale=0=q.b."},
             {"Spezie e aromi|Sale: 10 g + q.b."}},
            {"porzioni raddoppiate",
             {"Torta|4|8|Farina=0.5=kg;Uova=3="},
             {"Latticini e uova|Uova: 6", "Dispensa|Farina: 1 kg"}},
            {"porzioni con l'arrotondamento del cuoco",
             {"Frittata|4|6|Uova=3=", "Torta|3|1|Farina=250=g", "Pasta|100|95|Basilico=1=ciuffo"},
             {"Latticini e uova|Uova: 4,5", "Dispensa|Farina: 83,33 g",
              "Spezie e aromi|Basilico: 1 ciuffo"}},
            {"arrotondamento prima della somma",
             {"Biscotti|4|2|Zucchero=0.3=kg", "Crema|4|2|Zucchero=100=g"},
             {"Dispensa|Zucchero: 50 g + q.b."}},
            {"quantità che non è un numero",
             {"Insalata|4|8|Ceci=2-3=scatole", "Zuppa|4|4|Ceci=2-3=scatole"},
             {"Dispensa|Ceci: 2-3 scatole"}},
            {"reparti nell'ordine del negozio e nomi in ordine",
             {"Cena|4|4|Vino rosso=1=bicchiere;Pomodori=3=;Pane=1=;Noce moscata==q.b.;"
              "Mozzarella=1=;Pancetta=100=g;Gamberetti=200=g;Piselli surgelati=300=g;"
              "Zucchine=2=;Carta forno=1=;Alici=4="},
             {"Frutta e verdura|Pomodori: 3", "Frutta e verdura|Zucchine: 2",
              "Pane e forno|Pane: 1", "Latticini e uova|Mozzarella: 1", "Carne|Pancetta: 100 g",
              "Pesce|Alici: 4", "Pesce|Gamberetti: 200 g", "Surgelati|Piselli surgelati: 300 g",
              "Bevande|Vino rosso: 1 bicchiere", "Spezie e aromi|Noce moscata",
              "Altro|Carta forno: 1"}},
        };
        for (const Riga &r : righe)
            for (const char *locale : {"it_IT", "en_US"}) {
                QStringList attese = r.attese;
                if (QByteArray(locale) == "en_US")
                    attese.replaceInStrings(QRegularExpression("(\\d),(\\d)"), "\\1.\\2");
                QTest::addRow("%s %s", r.nome, locale) << QString(locale) << r.ricette << attese;
            }
    }

    void somma()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, ricette);
        QFETCH(QStringList, attese);
        QLocale::setDefault(QLocale(locale));
        ListaSpesa lista(libro->percorso());
        inLista(lista, ricette);
        QCOMPARE(voci(lista), attese);
    }

    void perChi_diceQualiRicetteLoVogliono()
    {
        ListaSpesa lista(libro->percorso());
        inLista(lista,
                {"Torta|4|8|Farina=250=g;Uova=2=", "Pane|4|4|Farina=500=g;Farina=1=cucchiaio"});
        const QList<Voce> v = lista.leggi().voci;
        QCOMPARE(v.at(1).testo(), "Farina: 1 kg + 1 cucchiaio");
        QCOMPARE(v.at(1).perChi, QStringList({"Torta (500 g)", "Pane (500 g + 1 cucchiaio)"}));
        QCOMPARE(v.at(0).perChi, QStringList({"Torta (4)"}));
    }

    void ingredienteRinominato_nomeNuovoERepartoScelto()
    {
        ListaSpesa lista(libro->percorso());
        inLista(lista, {"Torta|4|4|Farina=200=g"});
        lista.setReparto(ingredienti.value("Farina"), "Pane e forno");
        libro->esegui("UPDATE Ingredienti SET Ingrediente = 'Farina di farro' WHERE "
                      "IDIngrediente = ?",
                      {ingredienti.value("Farina")});
        libro->esegui("UPDATE Ricette SET NomeRicetta = 'Torta di farro'");
        QCOMPARE(voci(lista), QStringList({"Pane e forno|Farina di farro: 200 g"}));
        QCOMPARE(lista.leggi().scelte.first().nome, "Torta di farro");
        QCOMPARE(lista.leggi().voci.first().perChi, QStringList{"Torta di farro (200 g)"});
    }

    void ricettaEliminata_lasciaLaListaConUnaParola()
    {
        ListaSpesa lista(libro->percorso());
        inLista(lista, {"Lasagne|4|4|Farina=200=g", "Pane|4|4|Farina=300=g"});
        const qint64 lasagne = libro
                                   ->valore("SELECT IDRicetta FROM Ricette WHERE NomeRicetta = "
                                            "'Lasagne'")
                                   .toLongLong();
        lista.setPasto({2, 1, lasagne, "Lasagne", 6});
        libro->esegui("DELETE FROM Ricette WHERE IDRicetta = ?", {lasagne});

        const ListaSpesa::Stato s = lista.leggi();
        QCOMPARE(s.tolte, QStringList{"Lasagne"});
        QCOMPARE(s.scelte.size(), 1);
        QCOMPARE(voci(lista), QStringList({"Dispensa|Farina: 300 g"}));
        QVERIFY(lista.leggi().tolte.isEmpty()); // said once
        // The week keeps the meal by its name, with no recipe to shop for.
        const QString file = ArchivioSpesa::percorsoPer(libro->percorso());
        QCOMPARE(LibroDiProva::righe(file, "SELECT giorno, pasto, IDRicetta, nome FROM settimana"),
                 QList<QVariantList>({{2, 1, QVariant(), "Lasagne"}}));
        QCOMPARE(lista.ricetteDellaSettimana().second, QStringList{"Lasagne"});
    }

    void reparto_data()
    {
        QTest::addColumn<QString>("ingrediente");
        QTest::addColumn<QString>("reparto");
        caso("parola", "Pomodori", "Frutta e verdura");
        caso("singolare", "Pomodoro", "Frutta e verdura");
        caso("conservato", "Pomodori pelati", "Dispensa");
        caso("surgelato vince", "Spinaci surgelati", "Surgelati");
        caso("due parole", "Noce moscata", "Spezie e aromi");
        caso("la parola sola", "Noci", "Dispensa");
        caso("con di", "Bacche di ginepro", "Spezie e aromi");
        caso("apostrofo", "Olio extravergine d'oliva", "Dispensa");
        caso("accenti e maiuscole", "BACCALÀ", "Pesce");
        caso("prima parola decide", "Lievito di birra", "Dispensa");
        caso("frigo", "Pasta sfoglia", "Latticini e uova");
        caso("plurale", "Uova", "Latticini e uova");
        caso("uovo", "Uovo", "Latticini e uova");
        caso("carne", "Petto di pollo", "Carne");
        caso("bevanda", "Caffè", "Bevande");
        caso("sconosciuto", "Carta da forno", "Altro");
    }

    void reparto()
    {
        QFETCH(QString, ingrediente);
        QFETCH(QString, reparto);
        QCOMPARE(Reparti::indovina(ingrediente), reparto);
    }

    void tabellaDeiReparti_almenoTrecentoNomi();

    // The cook opens the "Reparto" box with the mouse and picks another department in its list.
    void repartoSpostato_ricordatoPerLIngrediente()
    {
        auto lista = std::make_shared<ListaSpesa>(libro->percorso());
        inLista(*lista, {"Sugo|4|4|Basilico=1=ciuffo;Aglio=1=spicchio;Pomodori=3="});
        Spesa finestra(lista);
        QVERIFY(mostrata(finestra));
        auto *albero = w<QTreeWidget>(&finestra, "Voci");
        clic(albero, voce(albero, "Pomodori"), 0);
        auto *reparto = w<QComboBox>(&finestra, "Reparto");
        QCOMPARE(reparto->currentText(), "Frutta e verdura");
        QTest::mouseClick(reparto, Qt::LeftButton);
        QAbstractItemView *vista = reparto->view();
        QVERIFY(vista->isVisible());
        QCoreApplication::processEvents();
        const QModelIndex dispensa = vista->model()->index(Reparti::ordine("Dispensa"), 0);
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, {},
                          vista->visualRect(dispensa).center());
        QVERIFY(!vista->isVisible());
        QCoreApplication::processEvents();

        QCOMPARE(voci(*lista),
                 QStringList({"Frutta e verdura|Aglio: 1 spicchio", "Dispensa|Pomodori: 3",
                              "Spezie e aromi|Basilico: 1 ciuffo"}));
        // The entry is still the one chosen, in its new place.
        QVERIFY(albero->currentItem());
        QCOMPARE(albero->currentItem()->text(0), "Pomodori: 3");
        QCOMPARE(albero->currentItem()->parent()->text(0), "Dispensa");
        // Remembered for the ingredient: in the side file, and for a new list.
        lista->togli({lista->leggi().scelte.first().posizione});
        ListaSpesa dopo(libro->percorso());
        inLista(dopo, {"Insalata|2|2|Pomodori=2="});
        QCOMPARE(voci(dopo), QStringList{"Dispensa|Pomodori: 2"});
    }

    // Ticked "In casa" with the mouse: left out of what is printed, copied and put on the phone.
    void inCasa_toltoDaStampaTestoETelefono()
    {
        auto lista = std::make_shared<ListaSpesa>(libro->percorso());
        inLista(*lista, {"Sugo|4|4|Pomodori=3=;Sale==q.b.;Olio=2=cucchiai"});
        Spesa finestra(lista);
        QVERIFY(mostrata(finestra));
        auto *albero = w<QTreeWidget>(&finestra, "Voci");
        clic(albero, voce(albero, "Sale"), 1);
        QCoreApplication::processEvents();
        QCOMPARE(voce(albero, "Sale")->checkState(1), Qt::Checked);

        const QString atteso = "Lista della spesa\n\nFRUTTA E VERDURA\n- Pomodori: 3\n\n"
                               "DISPENSA\n- Olio: 2 cucchiai\n";
        QCOMPARE(TestoSpesa::testo(lista->leggi().voci), atteso);
        QTest::mouseClick(w<QPushButton>(&finestra, "cmdCopia"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), atteso);
        SuperficieRegistrata carta;
        dialoghi->rispondiStampa(1);
        QTest::mouseClick(w<QPushButton>(&finestra, "cmdStampa"), Qt::LeftButton);
        QStringList stampati;
        for (const auto &t : carta.testi)
            stampati << t.testo;
        QVERIFY(!stampati.join('|').contains("Sale"));
        // Remembered with the list.
        ListaSpesa riaperta(libro->percorso());
        QVERIFY(riaperta.leggi().voci.at(2).inCasa);
        // Unticked, it is back.
        clic(albero, voce(albero, "Sale"), 1);
        QCoreApplication::processEvents();
        QVERIFY(TestoSpesa::testo(lista->leggi().voci).contains("- Sale\n"));
    }

    // "Salva...": the list's text in the file named, or the true cause and no file.
    void salva_scriveIlTestoODicePerche_data()
    {
        QTest::addColumn<QString>("dove"); // the name given, in a new folder
        QTest::addColumn<QString>("detto");
        caso("a new file", QString("spesa.txt"), QString());
        caso("a folder that is not there", QString("manca/spesa.txt"),
             QString("Impossibile trovare la cartella del file '%1'."));
    }
    void salva_scriveIlTestoODicePerche()
    {
        QFETCH(QString, dove);
        QFETCH(QString, detto);
        QTemporaryDir cartella;
        const QString file = cartella.filePath(dove);
        auto lista = std::make_shared<ListaSpesa>(libro->percorso());
        inLista(*lista, {"Sugo|4|4|Pomodori=3=;Olio=2=cucchiai"});
        Spesa finestra(lista);
        QVERIFY(mostrata(finestra));
        dialoghi->rispondiFile(file);
        if (!detto.isEmpty())
            dialoghi->rispondi(Dialogs::OK);
        QTest::mouseClick(w<QPushButton>(&finestra, "cmdSalva"), Qt::LeftButton);
        if (detto.isEmpty()) {
            QVERIFY(dialoghi->visti().isEmpty());
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(f.readAll()), TestoSpesa::testo(lista->leggi().voci));
        } else {
            QCOMPARE(dialoghi->visti(), QStringList("Lista della spesa: La lista non è stata "
                                                    "salvata:\r\n" +
                                                    detto.arg(file)));
            QVERIFY(!QFileInfo::exists(file));
        }
    }

    // Portions typed in the list's table: the quantities follow.
    void porzioniCambiate_quantitaConvertite()
    {
        auto lista = std::make_shared<ListaSpesa>(libro->percorso());
        inLista(*lista, {"Torta|4|4|Farina=250=g"});
        Spesa finestra(lista);
        QVERIFY(mostrata(finestra));
        auto *tabella = w<QTableWidget>(&finestra, "Ricette");
        const QRect cella = tabella->visualItemRect(tabella->item(0, 1));
        QTest::mouseClick(tabella->viewport(), Qt::LeftButton, {}, cella.center());
        QTest::mouseDClick(tabella->viewport(), Qt::LeftButton, {}, cella.center());
        auto *casella = tabella->findChild<QSpinBox *>();
        QVERIFY(casella);
        casella->selectAll();
        QTest::keyClicks(casella, "6");
        QTest::keyClick(casella, Qt::Key_Return);
        // The delegate commits after the key, and the list is shown again after the commit.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(voci(*lista), QStringList{"Dispensa|Farina: 375 g"});
        QCOMPARE(voce(w<QTreeWidget>(&finestra, "Voci"), "Farina")->text(0), "Farina: 375 g");
        QCOMPARE(tabella->item(0, 1)->text(), "6");
    }

    void togli_selezionate()
    {
        auto lista = std::make_shared<ListaSpesa>(libro->percorso());
        inLista(*lista, {"Torta|4|4|Farina=250=g", "Pane|4|4|Farina=500=g;Lievito=1=bustina"});
        Spesa finestra(lista);
        QVERIFY(mostrata(finestra));
        auto *tabella = w<QTableWidget>(&finestra, "Ricette");
        QTest::mouseClick(tabella->viewport(), Qt::LeftButton, {},
                          tabella->visualItemRect(tabella->item(1, 0)).center());
        QTest::mouseClick(w<QPushButton>(&finestra, "cmdTogli"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(tabella->rowCount(), 1);
        QCOMPARE(tabella->item(0, 0)->text(), "Torta");
        QCOMPARE(voci(*lista), QStringList{"Dispensa|Farina: 250 g"});
    }

    void stampa_unaPaginaDueColonneReparti()
    {
        ListaSpesa lista(libro->percorso());
        QStringList righe;
        for (int i = 0; i < 60; ++i)
            righe << QStringLiteral("Spezia %1=1=pizzico").arg(i, 2, 10, QChar('0'));
        inLista(lista, {"Lasagne|4|8|Pomodori=3=;Farina 00=500=g;Farina 00=2=cucchiai",
                        "Spezie|4|4|" + righe.join(';')});
        lista.aggiungi({{lista.leggi().scelte.first().ricetta, 6}});
        SuperficieRegistrata carta;
        TestoSpesa::stampa(carta, lista.leggi());
        QCOMPARE(carta.documenti, 1);
        QCOMPARE(carta.testi.first().testo, "Lista della spesa");
        QVERIFY(carta.testi.first().carattere.grassetto);
        QCOMPARE(carta.riga(0, 1, 4), "Per: Lasagne (8 + 6), Spezie (4)");
        const auto primaColonna = [&](double y) {
            for (const auto &t : carta.testi)
                if (t.y == y && t.x < 60)
                    return t.testo;
            return QString();
        };
        QCOMPARE(primaColonna(6), "Frutta e verdura");
        QCOMPARE(primaColonna(7), "\u2610 Pomodori: 10,5");
        QCOMPARE(primaColonna(9), "Dispensa");
        QCOMPARE(primaColonna(10), "\u2610 Farina 00: 1,75 kg + 7 cucchiai");
        const auto intestazione = std::find_if(carta.testi.cbegin(), carta.testi.cend(),
                                               [](const auto &t) { return t.testo == "Dispensa"; });
        QVERIFY(intestazione->carattere.grassetto);
        QCOMPARE(intestazione->carattere.colore, QColor(0, 0, 128));
        // 60 entries and three headings: the second column takes the rest, on the same page.
        double destra = 0;
        for (const auto &t : carta.testi) {
            QCOMPARE(t.pagina, 1);
            QVERIFY2(t.y <= 57, qPrintable(t.testo));
            destra = qMax(destra, t.x);
        }
        QCOMPARE(destra, 62.0);
        QVERIFY(carta.riga(0, 1, 57).startsWith("\u2610 Spezia"));
        // The department going on in the second column says so at its top.
        QCOMPARE(carta.riga(0, 1, 6), "Frutta e verduraSpezie e aromi (segue)");
        QCOMPARE(carta.riga(0, 1, 7), "\u2610 Pomodori: 10,5\u2610 Spezia 45: 1 pizzico");
    }

    void stampaSettimana_unaPagina()
    {
        SuperficieRegistrata carta;
        TestoSpesa::stampaSettimana(
            carta, {{0, 0, 1, "Lasagne", 6}, {0, 1, 0, "Pizza fuori", 2}, {6, 1, 2, "Brodo", 4}});
        QCOMPARE(carta.documenti, 1);
        QCOMPARE(carta.testi.first().testo, "Menù della settimana");
        QCOMPARE(carta.riga(0, 1, 5), "PranzoCena");
        QCOMPARE(carta.riga(0, 1, 7), "LunedìLasagne (6)Pizza fuori (2)");
        QCOMPARE(carta.riga(0, 1, 12), "Martedì");
        QCOMPARE(carta.riga(0, 1, 37), "DomenicaBrodo (4)");
    }

    void codiceQR_riletto_data()
    {
        QTest::addColumn<int>("voci");
        QTest::addColumn<int>("codici");
        caso("una lista corta, un codice", 5, 1);
        caso("una lista lunga, codici numerati", 60, 4);
    }

    // The code drawn in the window read back, module by module, against libqrencode's own for
    // the text; with zbarimg at hand, decoded from a screenshot to the same text.
    void codiceQR_riletto()
    {
        QFETCH(int, voci);
        QFETCH(int, codici);
        ListaSpesa lista(libro->percorso());
        QStringList righe{"Caffè=250=g", "Pane=1="};
        for (int i = 2; i < voci; ++i)
            righe << QStringLiteral("Ingrediente numero %1=%1=g").arg(i);
        inLista(lista, {"Settimana|4|4|" + righe.join(';')});
        const QString testo = TestoSpesa::testo(lista.leggi().voci);
        QVERIFY(testo.contains("Caffè: 250 g"));

        Telefono telefono;
        telefono.setTesto(testo);
        telefono.show();
        QVERIFY(QTest::qWaitForWindowExposed(&telefono));
        QCOMPARE(telefono.pezzi().size(), codici);
        if (codici > 1) {
            QCOMPARE(w<QLabel>(&telefono, "lblNumero")->text(),
                     QStringLiteral("Codice 1 di %1").arg(codici));
            QStringList insieme;
            for (int i = 0; i < codici; ++i) {
                QVERIFY(telefono.pezzi().at(i).startsWith(
                    QStringLiteral("Lista della spesa (%1/%2)\n").arg(i + 1).arg(codici)));
                QVERIFY(telefono.pezzi().at(i).toUtf8().size() <= Telefono::Massimo);
                insieme << telefono.pezzi().at(i).section('\n', 1);
            }
            // Nothing lost between the pieces.
            QCOMPARE(insieme.join('\n'), testo.section('\n', 1));
        }
        const QString zbar = QStandardPaths::findExecutable("zbarimg");
        for (int i = 0; i < codici; ++i) {
            const QString pezzo = telefono.pezzi().at(i);
            const QByteArray utf8 = pezzo.toUtf8();
            QRinput *ingresso = QRinput_new2(0, QR_ECLEVEL_M);
            QRinput_appendECIheader(ingresso, 26);
            QRinput_append(ingresso, QR_MODE_8, int(utf8.size()),
                           reinterpret_cast<const unsigned char *>(utf8.constData()));
            QRcode *qr = QRcode_encodeInput(ingresso);
            QRinput_free(ingresso);
            QVERIFY(qr);
            const QImage img = w<QWidget>(&telefono, "Codice")->grab().toImage();
            const int moduli = qr->width + 8;
            const int modulo = qMin(img.width(), img.height()) / moduli;
            QVERIFY2(modulo >= 3, "a module is at least three pixels");
            const int x0 = (img.width() - moduli * modulo) / 2 + 4 * modulo;
            const int y0 = (img.height() - moduli * modulo) / 2 + 4 * modulo;
            int diversi = 0;
            for (int y = 0; y < qr->width; ++y)
                for (int x = 0; x < qr->width; ++x) {
                    const bool scuro = qGray(img.pixel(x0 + x * modulo + modulo / 2,
                                                       y0 + y * modulo + modulo / 2)) < 128;
                    diversi += scuro != bool(qr->data[y * qr->width + x] & 1);
                }
            QRcode_free(qr);
            QCOMPARE(diversi, 0);
            if (!zbar.isEmpty()) {
                QTemporaryDir cartella;
                const QString png = cartella.filePath("codice.png");
                QVERIFY(img.save(png));
                QProcess p;
                p.start(zbar, {"--raw", "-q", png});
                QVERIFY(p.waitForFinished());
                QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), pezzo + '\n');
            }
            if (i + 1 < codici)
                QTest::mouseClick(w<QPushButton>(&telefono, "cmdSuccessivo"), Qt::LeftButton);
        }
        if (zbar.isEmpty())
            qInfo("zbarimg not found: the code was read back against libqrencode's modules only");
    }

    void fileLaterale_mancante_nuovoSenzaParole()
    {
        const QString file = ArchivioSpesa::percorsoPer(libro->percorso());
        QCOMPARE(QFileInfo(file).fileName(), "Prova.spesa");
        QVERIFY(!QFile::exists(file));
        ListaSpesa lista(libro->percorso());
        QVERIFY(lista.avviso().isEmpty());
        QVERIFY(lista.leggi().scelte.isEmpty());
        QVERIFY(QFile::exists(file));
    }

    void fileLaterale_danneggiatoOAltrui_data()
    {
        QTest::addColumn<QByteArray>("contenuto"); // empty: another book's list
        QTest::addColumn<QString>("messoDaParte");
        QTest::addColumn<QString>("avviso");
        caso(
            "non è SQLite", QByteArray("Lista: farina, uova, latte\n").repeated(300),
            "Prova.spesa.danneggiato",
            "La lista della spesa di questo ricettario era danneggiata e non si può leggere: ne "
            "comincia una nuova. Il file è stato messo da parte come \"Prova.spesa.danneggiato\".");
        caso(
            "un altro file SQLite", QByteArray("sqlite"), "Prova.spesa.danneggiato",
            "La lista della spesa di questo ricettario era danneggiata e non si può leggere: ne "
            "comincia una nuova. Il file è stato messo da parte come \"Prova.spesa.danneggiato\".");
        caso(
            "troncato", QByteArray("troncato"), "Prova.spesa.danneggiato",
            "La lista della spesa di questo ricettario era danneggiata e non si può leggere: ne "
            "comincia una nuova. Il file è stato messo da parte come \"Prova.spesa.danneggiato\".");
        caso(
            "un indice rovinato", QByteArray("indice"), "Prova.spesa.danneggiato",
            "La lista della spesa di questo ricettario era danneggiata e non si può leggere: ne "
            "comincia una nuova. Il file è stato messo da parte come \"Prova.spesa.danneggiato\".");
        caso("di un altro ricettario", QByteArray(), "Prova.spesa.altro",
             "Il file \"Prova.spesa\" accanto al ricettario \"Prova.mdb\" è la lista della spesa "
             "del ricettario \"Dolci.mdb\": ne comincia una nuova. Il file è stato messo da parte "
             "come \"Prova.spesa.altro\".");
    }

    void fileLaterale_danneggiatoOAltrui()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, messoDaParte);
        QFETCH(QString, avviso);
        const QString file = ArchivioSpesa::percorsoPer(libro->percorso());
        if (contenuto == "sqlite") {
            FileLaterale(file).esegui("CREATE TABLE appunti (testo TEXT)");
        } else if (contenuto == "indice") {
            // The week's index page scribbled over: its table still reads.
            {
                ListaSpesa mia(libro->percorso());
                mia.setPasto({0, 0, 0, "Pizza fuori", 2});
            }
            const qint64 pagina =
                LibroDiProva::righe(file, "SELECT rootpage FROM sqlite_master WHERE name = "
                                          "'sqlite_autoindex_settimana_1'")
                    .first()
                    .first()
                    .toLongLong();
            const qint64 lato =
                LibroDiProva::righe(file, "PRAGMA page_size").first().first().toLongLong();
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.seek((pagina - 1) * lato + 8));
            f.write(QByteArray(64, '\x7f'));
        } else if (contenuto == "troncato" || contenuto.isEmpty()) {
            // A list of ours, of another book or cut short.
            const QString dolci = QFileInfo(libro->percorso()).dir().filePath("Dolci.mdb");
            QFile::copy(libro->percorso(), dolci);
            {
                ListaSpesa altra(dolci);
                inLista(altra, {"Torta|4|4|Farina=200=g"});
            }
            QFile::copy(ArchivioSpesa::percorsoPer(dolci), file);
            if (contenuto == "troncato")
                QFile::resize(file, QFileInfo(file).size() / 2);
        } else {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contenuto);
        }
        const QByteArray prima = QFile(file).open(QIODevice::ReadOnly) ? impronta(file) : "";
        const QByteArray libroPrima = impronta(libro->percorso());

        ListaSpesa lista(libro->percorso());
        QCOMPARE(lista.avviso(), avviso);
        QVERIFY(lista.avviso().isEmpty()); // said once
        QVERIFY(lista.leggi().scelte.isEmpty());
        const QString daParte = QFileInfo(file).dir().filePath(messoDaParte);
        QCOMPARE(impronta(daParte), prima);
        QCOMPARE(impronta(libro->percorso()), libroPrima);
        // The new list works and opens again without a word.
        inLista(lista, {"Pane|4|4|Farina=300=g"});
        ListaSpesa ancora(libro->percorso());
        QVERIFY(ancora.avviso().isEmpty());
        QCOMPARE(ancora.leggi().scelte.size(), 1);
    }

    // An import's restore closes every connection on the book: the list opens it again.
    void libroChiusoSottoLaLista_riaperto()
    {
        ListaSpesa lista(libro->percorso());
        inLista(lista, {"Torta|4|4|Farina=250=g"});
        QCOMPARE(lista.leggi().voci.size(), 1);
        Database::apri(libro->percorso(), Database::Modo::SolaLettura)->Close();
        QCOMPARE(voci(lista), QStringList{"Dispensa|Farina: 250 g"});
    }

    // Each change is committed when it returns: another connection sees it at once.
    void ogniCambio_scrittoSubito()
    {
        ListaSpesa lista(libro->percorso());
        inLista(lista, {"Torta|4|4|Farina=250=g"});
        const QString file = ArchivioSpesa::percorsoPer(libro->percorso());
        const qint64 posizione = lista.leggi().scelte.first().posizione;
        lista.setPorzioni(posizione, 12);
        QCOMPARE(LibroDiProva::righe(file, "SELECT porzioni FROM scelte").first().first(), 12);
        lista.setInCasa(ingredienti.value("Farina"), true);
        QCOMPARE(LibroDiProva::righe(file, "SELECT count(*) FROM incasa").first().first(), 1);
        QVERIFY(!QFile::exists(file + "-journal"));
    }
};

void TstSpesa::tabellaDeiReparti_almenoTrecentoNomi()
{
    // Each name of the table is guessed into its own department, and every department but
    // "Altro" has names.
    const Reparti::Tabella &t = Reparti::tabella();
    QCOMPARE(t.doppie, QStringList());
    QSet<QString> reparti;
    for (const auto &[nome, reparto] : t.parole.asKeyValueRange()) {
        QCOMPARE(Reparti::indovina(nome), reparto);
        reparti.insert(reparto);
    }
    QVERIFY2(t.parole.size() >= 300, qPrintable(QString::number(t.parole.size())));
    QCOMPARE(reparti.size(), Reparti::tutti().size() - 1);
}

PENTOLONE_TEST_MAIN(TstSpesa)
#include "tst_spesa.moc"
