// The import of another book's recipes, driven as a user does: the buttons, the answers to
// every question, the choice dialog; the current book read back with plain SQL.
#include "caso.h"
#include "formati/libroaccess.h"
#include "import/confrontanomi.h"
#include "import/elenconomi.h"
#include "import/finestraimportazione.h"
#include "import/importazione.h"
#include "libro.h"
#include "scripteddialogs.h"
#include "storage/database.h"
#include "toolkit/applicazione.h"
#include "toolkit/guida.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// The recipes of a book, by key: "name [category] ingredient quantity, ...".
QStringList ricette(const LibroDiProva &libro)
{
    QStringList r;
    for (const QVariantList &ricetta : libro.righe(
             "SELECT r.IDRicetta, r.NomeRicetta, c.CategoriaAlimentare FROM Ricette r LEFT JOIN "
             "\"Categorie alimentari\" c ON c.IDCategoriaAlimentare = r.IDCategoriaAlimentare "
             "ORDER BY r.IDRicetta")) {
        QStringList linee;
        for (const QVariantList &l : libro.righe(
                 "SELECT i.Ingrediente || ' ' || l.\"Quantità\" FROM ingredienti_ricetta l JOIN "
                 "Ingredienti i ON i.IDIngrediente = l.IDIngrediente WHERE l.IDRicetta = ? "
                 "ORDER BY l.IDIngredienteRicetta",
                 {ricetta.value(0)}))
            linee << l.value(0).toString();
        r << ricetta.value(1).toString() + " [" + ricetta.value(2).toString() + "] " +
                 linee.join(", ");
    }
    return r;
}

QStringList voci(const QComboBox *lista)
{
    QStringList v;
    for (int i = 0; i < lista->count(); ++i)
        v << lista->itemText(i);
    return v;
}

QByteArray contenuto(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TstImport : public QObject
{
    Q_OBJECT

    std::unique_ptr<LibroDiProva> libro, sorgente;
    std::unique_ptr<ScriptedDialogs> dialoghi;
    std::unique_ptr<Importazione> finestra;
    QStringList scelte; // what to pick in each choice dialog: a name, "" Annulla, "x" its close box
    bool sceltaFissa = false; // every choice dialog takes its first entry

    // Answers as a user gives them: "si", "no", "annulla", "ok", or "=text" for an input box.
    void risposte(const QStringList &r)
    {
        for (const QString &a : r) {
            if (a.startsWith('='))
                dialoghi->rispondiInput(a.mid(1));
            else
                dialoghi->rispondi(a == "si"   ? Dialogs::Si
                                   : a == "no" ? Dialogs::No
                                   : a == "ok" ? Dialogs::OK
                                               : Dialogs::Annulla);
        }
    }
    // Every box shown, in order: "title: text", an input box as "? title: prompt [proposed]",
    // a choice dialog as "scelta: label entries".
    QStringList trascrizione() const
    {
        QStringList t;
        for (const auto &c : dialoghi->chiamate)
            if (c.tipo == "messaggio")
                // What the import did is read by a test of its own.
                t << c.titolo + ": " +
                         (c.titolo == "Fine importazione" ? c.testo.section("\r\n", 0, 0)
                                                          : c.testo);
            else if (c.tipo == "input")
                t << "? " + c.titolo + ": " + c.testo + " [" + c.predefinito + "]";
            else if (c.tipo == "scelta")
                t << "scelta: " + c.testo;
        return t;
    }
    Importazione *apri(const DaImportare &origine = {})
    {
        Applicazione::RicettarioCorrente = libro->percorso();
        Applicazione::RicettarioDaImportare = sorgente->percorso();
        finestra = std::make_unique<Importazione>(origine);
        finestra->show();
        return finestra.get();
    }
    void clic(const char *pulsante)
    {
        QTest::mouseClick(finestra->findChild<QPushButton *>(pulsante), Qt::LeftButton);
    }
    // The source book: recipes named, each in category "Dolci" with one line of "Zucchero".
    void ricetteSorgenti(const QStringList &nomi)
    {
        const qint64 dolci = sorgente->categoria("Dolci");
        const qint64 zucchero = sorgente->ingrediente("Zucchero");
        for (const QString &n : nomi)
            sorgente->riga(sorgente->ricetta(n, dolci), zucchero, "100");
        sorgente->esegui("UPDATE Ricette SET " + ColonneCopiate.join(" = NomeRicetta || '.', ") +
                         " = NomeRicetta || '.', Vegetariana = -1, NumeroPorzioni = IDRicetta, "
                         "CaloriePerPorzione = 10 * IDRicetta");
    }
    // Every column of the recipe but its key, name and category comes from its source row.
    const QStringList ColonneCopiate =
        QString("DescrizioneRicetta Preparata_da TipoPasto TempoPreparazione "
                "InformazioniNutrizionali Ingredienti Istruzioni Note Utensili")
            .split(' ');
    QString colonneCopiate() const
    {
        return ColonneCopiate.join(", ") + ", Vegetariana, NumeroPorzioni, CaloriePerPorzione";
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        auto *d = qobject_cast<FinestraImportazione *>(o);
        if (!d || e->type() != QEvent::Show)
            return false;
        auto *lista = d->findChild<QComboBox *>("CatIng");
        dialoghi->chiamate << ScriptedDialogs::Chiamata{
            "scelta", d->findChild<QLabel *>("Label2")->text() + " " + voci(lista).join("|")};
        const QString scelta = sceltaFissa        ? lista->itemText(0)
                               : scelte.isEmpty() ? QString("x")
                                                  : scelte.takeFirst();
        QTimer::singleShot(0, d, [d, lista, scelta = QString(scelta)]() mutable {
            // "+" ticks the box that makes the choice one for all.
            if (scelta.startsWith('+')) {
                QTest::mouseClick(d->findChild<QCheckBox *>("PerTutte"), Qt::LeftButton);
                scelta.remove(0, 1);
            }
            if (scelta == "x")
                d->close();
            else if (scelta.isEmpty())
                QTest::mouseClick(d->findChild<QPushButton *>("Command2"), Qt::LeftButton);
            else {
                lista->setCurrentIndex(lista->findText(scelta));
                QTest::mouseClick(d->findChild<QPushButton *>("Command1"), Qt::LeftButton);
            }
        });
        return false;
    }

private slots:
    void initTestCase()
    {
        // The choice dialog is modal: it is answered when it shows.
        qApp->installEventFilter(this);
    }
    void init()
    {
        libro = std::make_unique<LibroDiProva>();
        sorgente = std::make_unique<LibroDiProva>();
        dialoghi = std::make_unique<ScriptedDialogs>();
        scelte.clear();
    }
    void cleanup()
    {
        finestra.reset();
        QVERIFY2(dialoghi->tutteUsate(), "an answer was not used");
        QVERIFY2(scelte.isEmpty(), "a choice was not asked for");
        dialoghi.reset();
        sorgente.reset();
        libro.reset();
    }

    void names_identicalSimilarOrNot_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("esito");
        const int I = int(Somiglianza::Identico), S = int(Somiglianza::Simile),
                  N = int(Somiglianza::Nessuna), U = int(Somiglianza::Indefinito);
        caso("capitals", "Pasta al forno", "PASTA AL FORNO", I);
        caso("short identical", "Olio", "olio", I);
        caso("accented capitals", "Caffè", "CAFFÈ", I);
        caso("trailing blank", "Pasta al forno ", "Pasta al forno", S);
        caso("4 of 5", "Salsa", "Salse", S);
        caso("common beginning", "Torta di mele", "Torta di pere", S);
        caso("longer existing", "Farina 00", "Farina", S);
        caso("13 of 17", "Crema pasticcera", "Crema pasticciera", S);
        caso("7 of 10", "Abcdefgxyz", "Abcdefghij", S);
        caso("exactly 0.6", "Burro", "Birra", U);
        caso("6 of 10", "Abcdefxyzw", "Abcdefghij", U);
        caso("shorter has 4", "Sugo", "Sughi", U);
        caso("shifted", "Torta", "La torta", U);
        caso("first letter differs", "Xasta al forno", "Pasta al forno", U);
        caso("accent counts", "Caffe latte", "Caffè latte", S);
        caso("same letters, other length", "Pane", "Pane ", U);
        caso("nothing in common", "Uova", "Pane", N);
        caso("one empty", "", "Pane", N);
    }
    void names_identicalSimilarOrNot()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QTEST(int(confrontaNomi(a, b)), "esito");
        // The scans of a table find the same, among names that cannot match and after them.
        QFETCH(int, esito);
        const bool trovato =
            esito == int(Somiglianza::Identico) || esito == int(Somiglianza::Simile);
        ElencoNomi elenco;
        for (const QString &altro :
             {QString("Pa"), QString(a).toUpper() + QString(2 * a.size(), u'x'), b})
            elenco.aggiungi(elenco.conta() + 1, altro);
        Somiglianza s = Somiglianza::Nessuna;
        QCOMPARE(elenco.primoSimile(a, s), trovato ? 2 : -1);
        int identico = -1, simile = -1;
        elenco.scandisci(a, identico, simile);
        QCOMPARE(identico, esito == int(Somiglianza::Identico) ? 2 : -1);
        QCOMPARE(simile, esito == int(Somiglianza::Simile) ? 2 : -1);
    }

    // The questions about a recipe's name, alone and in a run, word for word, and the book
    // they leave.
    void recipeName_asksAndImports_data()
    {
        QTest::addColumn<QStringList>("daImportare");
        QTest::addColumn<QStringList>("presenti");
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QStringList>("risposte");
        QTest::addColumn<QStringList>("attese"); // the boxes shown
        QTest::addColumn<QStringList>("dopo");   // the names in the book, by key

        const QString esiste = "Attenzione! Ricetta già esistente: La ricetta che si vuol "
                               "importare esiste già (Pasta al forno).\r\nLa vuoi aggiungere "
                               "ugualmente al tuo ricettario?";
        const QString rinomina = "? Assegnazione nuovo nome alla ricetta: Si consiglia di "
                                 "rinominare la ricetta che si sta importando.\r\nInserisci "
                                 "un nuovo nome [Pasta al forno]";
        const auto simile = [](const QString &a, const QString &b) {
            return "Attenzione! Esiste già una ricetta simile: La ricetta che si vuol importare "
                   "ha un nome\r\nmolto simile ad una ricetta già esistente.\r\nLa vuoi "
                   "aggiungere ugualmente al tuo ricettario?\r\nRicetta da importare : " +
                   a + "\r\nRicetta presente     : " + b;
        };
        const QString rinominaSimile =
            "Attenzione! Esiste già una ricetta simile: La vuoi rinominare ?";
        const QString nuovoSimile = "? Assegnazione nuovo nome alla ricetta: Inserisci il nuovo "
                                    "nome della ricetta. [Salsa]";
        const QString fatto = "Fine importazione: Importazione completata";
        const QString interrotta = "Importazione non eseguita: Importazione interrotta";
        const QStringList pasta{"PASTA AL FORNO"};

        caso("new", QStringList{"Crostata"}, QStringList{"Tiramisù"}, "Command3", QStringList{"ok"},
             QStringList{fatto}, QStringList{"Tiramisù", "Crostata"});
        caso("identical, renamed", QStringList{"Pasta al forno"}, pasta, "Command3",
             QStringList{"si", "=Pasta al forno di Anna", "ok"},
             QStringList{esiste, rinomina, fatto},
             QStringList{"PASTA AL FORNO", "Pasta al forno di Anna"});
        caso("identical, name cleared", QStringList{"Pasta al forno"}, pasta, "Command3",
             QStringList{"si", "=", "ok"}, QStringList{esiste, rinomina, interrotta}, pasta);
        caso("identical, no", QStringList{"Pasta al forno"}, pasta, "Command3",
             QStringList{"no", "ok"}, QStringList{esiste, interrotta}, pasta);
        caso("similar before identical", QStringList{"Salsa"}, QStringList{"Salse", "SALSA"},
             "Command3", QStringList{"si", "no", "ok"},
             QStringList{simile("Salsa", "Salse"), rinominaSimile, fatto},
             QStringList{"Salse", "SALSA", "Salsa"});
        caso("similar, renamed", QStringList{"Salsa"}, QStringList{"Salse"}, "Command3",
             QStringList{"si", "si", "=Salsa verde", "ok"},
             QStringList{simile("Salsa", "Salse"), rinominaSimile, nuovoSimile, fatto},
             QStringList{"Salse", "Salsa verde"});
        caso("similar, name cleared", QStringList{"Salsa"}, QStringList{"Salse"}, "Command3",
             QStringList{"si", "si", "=", "ok"},
             QStringList{simile("Salsa", "Salse"), rinominaSimile, nuovoSimile, fatto},
             QStringList{"Salse", "Salsa"});
        caso("similar, rename cancelled", QStringList{"Salsa"}, QStringList{"Salse"}, "Command3",
             QStringList{"si", "annulla", "ok"},
             QStringList{simile("Salsa", "Salse"), rinominaSimile, interrotta},
             QStringList{"Salse"});
        caso("run: skip, rename, new", QStringList{"Crostata", "Pasta al forno", "Salsa", "Torta"},
             QStringList{"PASTA AL FORNO", "Salse"}, "Command1",
             QStringList{"no", "si", "si", "=Salsa verde", "ok"},
             QStringList{esiste, simile("Salsa", "Salse"), rinominaSimile, nuovoSimile, fatto},
             QStringList{"PASTA AL FORNO", "Salse", "Crostata", "Salsa verde", "Torta"});
        caso("run: cancel undoes it all", QStringList{"Crostata", "Salsa", "Torta"},
             QStringList{"Salse"}, "Command1", QStringList{"annulla", "ok"},
             QStringList{simile("Salsa", "Salse"), interrotta}, QStringList{"Salse"});
        caso("run over an empty book", QStringList{}, QStringList{"Salse"}, "Command1",
             QStringList{"ok"}, QStringList{fatto}, QStringList{"Salse"});
    }
    void recipeName_asksAndImports()
    {
        QFETCH(QStringList, daImportare);
        QFETCH(QStringList, presenti);
        QFETCH(QString, pulsante);
        QFETCH(QStringList, risposte);
        ricetteSorgenti(daImportare);
        // A source in WAL mode is only read: not even its journal mode changes.
        AltroProgramma(sorgente->percorso(), "PRAGMA journal_mode = WAL");
        const QByteArray fonte = contenuto(sorgente->percorso());
        const qint64 dolci = libro->categoria("Dolci");
        libro->ingrediente("Zucchero");
        for (const QString &n : presenti)
            libro->ricetta(n, dolci);
        const QByteArray prima = contenuto(libro->percorso());
        apri();
        this->risposte(risposte);
        clic(qPrintable(pulsante));
        QFETCH(QStringList, attese);
        QCOMPARE(trascrizione(), attese);
        QStringList nomi;
        for (const QString &r : ricette(*libro))
            nomi << r.section(" [", 0, 0);
        QTEST(nomi, "dopo");
        if (attese.last().contains("interrotta"))
            QCOMPARE(contenuto(libro->percorso()), prima);
        const QList<QVariantList> originali =
            sorgente->righe("SELECT " + colonneCopiate() + " FROM Ricette");
        for (const QVariantList &r :
             libro->righe("SELECT " + colonneCopiate() + " FROM Ricette WHERE IDRicetta > ?",
                          QVariantList{qint64(presenti.size())}))
            QVERIFY(originali.contains(r));
        QCOMPARE(contenuto(sorgente->percorso()), fonte);
        QCOMPARE(sorgente->valore("PRAGMA journal_mode"), "wal");
    }

    // A recipe's category and ingredients: taken over, added, renamed or picked in the choice
    // dialog; the keys written are the current book's.
    void mapping_asksAboutSimilarNames_data()
    {
        QTest::addColumn<QString>("categoria");       // of the recipe in the source book
        QTest::addColumn<QStringList>("ingredienti"); // its lines, in order
        QTest::addColumn<QStringList>("categorie");   // of the current book
        QTest::addColumn<QStringList>("presenti");    // ingredients of the current book
        QTest::addColumn<QStringList>("risposte");
        QTest::addColumn<QStringList>("scelte");
        QTest::addColumn<QStringList>("attese"); // boxes shown and choice dialogs opened
        QTest::addColumn<QString>("dopo");       // the imported recipe, or "" when undone

        const auto categoria = [](const QString &a, const QString &b) {
            return "Attenzione! Esiste già una Categoria Alimentare simile: La ricetta che si "
                   "vuol importare, ha una Categoria Alimentare con un nome\r\nmolto simile a "
                   "quello di una Categoria Alimentare già presente.\r\n\r\nLa vuoi aggiungere "
                   "ugualmente al tuo ricettario?\r\n(Scegliendo 'No' potrai selezionare una "
                   "categoria del tuo ricettario)\r\n\r\nCategoria da importare : " +
                   a + "\r\nCategoria presente: " + b;
        };
        const auto ingrediente = [](const QString &a, const QString &b) {
            return "Attenzione! Esiste già un Ingrediente simile: La ricetta che si vuol "
                   "importare, ha un Ingrediente con un nome\r\nmolto simile a quello di un "
                   "Ingrediente già presente.\r\n\r\nLo vuoi aggiungere ugualmente al tuo "
                   "ricettario?\r\n(Scegliendo 'No' potrai selezionare un ingrediente del tuo "
                   "ricettario)\r\n\r\nIngrediente da importare : " +
                   a + "\r\nIngrediente presente: " + b;
        };
        const QString sceltaCategoria = "scelta: Scegli la Categoria Alimentare da assegnare "
                                        "alla Ricetta da importare ";
        const QString sceltaIngrediente = "scelta: Scegli l'Ingrediente del tuo Ricettario, "
                                          "corrispondente all'Ingrediente che si sta importando ";
        const QString rinominaCategoria =
            "Attenzione! Esiste già una Categoria Alimentare simile: La vuoi rinominare ?";
        const QString rinominaIngrediente =
            "Attenzione! Esiste già un'Ingrediente simile: La vuoi rinominare ?";
        const QString fatto = "Fine importazione: Importazione completata";
        const QString interrotta = "Importazione non eseguita: Importazione interrotta";
        const QStringList cinque{"Burro", "Latte", "Zucchero", "Farina", "Uova"};

        caso("identical names, silent", "Dolci", QStringList{"Zucchero", "Uova"},
             QStringList{"Antipasti", "DOLCI"}, QStringList{"zucchero", "UOVA"}, QStringList{"ok"},
             QStringList{}, QStringList{fatto}, "Torta [DOLCI] zucchero 1, UOVA 2");
        caso("new names, added once", "Carne", QStringList{"Farina", "FARINA"},
             QStringList{"Dolci"}, QStringList{"Uova"}, QStringList{"ok"}, QStringList{},
             QStringList{fatto}, "Torta [Carne] Farina 1, Farina 2");
        // A category the source book lacks, or none at all: the cook picks one, or none.
        const QString senza = "scelta: La ricetta \"Torta\" non ha una Categoria Alimentare.\n"
                              "Scegli la Categoria Alimentare da assegnare alla Ricetta da "
                              "importare (nessuna categoria)|Antipasti|Dolci";
        caso("missing in the source: one picked", "-", QStringList{"-", "Burro"},
             QStringList{"Dolci", "Antipasti"}, QStringList{}, QStringList{}, QStringList{"Dolci"},
             QStringList{senza}, "Torta [Dolci] Burro 2");
        caso("without a category: none picked", "", QStringList{"Burro"},
             QStringList{"Dolci", "Antipasti"}, QStringList{}, QStringList{},
             QStringList{"(nessuna categoria)"}, QStringList{senza}, "Torta [] Burro 1");
        caso("without a category, a book without any", "", QStringList{"Burro"}, QStringList{},
             QStringList{}, QStringList{"ok"}, QStringList{}, QStringList{fatto},
             "Torta [] Burro 1");
        caso("the first of two identical", "Dolci", QStringList{}, QStringList{"DOLCI", "Dolci"},
             QStringList{}, QStringList{"ok"}, QStringList{}, QStringList{fatto}, "Torta [DOLCI] ");
        caso("identical after similar", "PESCE FRITTI", QStringList{},
             QStringList{"Pesce fritto", "Pesce fritti"}, QStringList{}, QStringList{"ok"},
             QStringList{}, QStringList{fatto}, "Torta [Pesce fritti] ");
        caso("similar category, renamed", "Dolci e torte", QStringList{},
             QStringList{"Dolci e torta"}, QStringList{}, QStringList{"si", "si", "=Torte", "ok"},
             QStringList{},
             QStringList{categoria("Dolci e torte", "Dolci e torta"), rinominaCategoria,
                         "? Assegnazione nuovo nome alla Categoria Alimentare: Inserisci il "
                         "nuovo nome della Categoria Alimentare. [Dolci e torte]",
                         fatto},
             "Torta [Torte] ");
        caso("similar to two: the last one quoted", "Dolci e torte", QStringList{},
             QStringList{"Dolci e torta", "Dolci e tortx"}, QStringList{},
             QStringList{"annulla", "ok"}, QStringList{},
             QStringList{categoria("Dolci e torte", "Dolci e tortx"), interrotta}, "");
        caso("similar category, picked", "Dolci e torte", QStringList{"Uova"},
             QStringList{"Dolci e torta", "Antipasti"}, QStringList{"Uova"}, QStringList{"no"},
             QStringList{"Antipasti"},
             QStringList{categoria("Dolci e torte", "Dolci e torta"),
                         sceltaCategoria + "Antipasti|Dolci e torta"},
             "Torta [Antipasti] Uova 1");
        // Its close box counts as giving up (Annulla gives up below).
        caso("similar category, closed", "Dolci e torte", QStringList{},
             QStringList{"Dolci e torta"}, QStringList{}, QStringList{"no", "ok"}, QStringList{"x"},
             QStringList{categoria("Dolci e torte", "Dolci e torta"),
                         sceltaCategoria + "Dolci e torta", interrotta},
             "");
        caso("third of five, picked", "Dolci", cinque, QStringList{"Dolci"},
             QStringList{"Zucchera", "Sale"}, QStringList{"no"}, QStringList{"Zucchera"},
             QStringList{ingrediente("Zucchero", "Zucchera"),
                         sceltaIngrediente + "Burro|Latte|Sale|Zucchera"},
             "Torta [Dolci] Burro 1, Latte 2, Zucchera 3, Farina 4, Uova 5");
        caso("third of five, given up", "Dolci", cinque, QStringList{"Dolci"},
             QStringList{"Zucchera"}, QStringList{"no", "ok"}, QStringList{""},
             QStringList{ingrediente("Zucchero", "Zucchera"),
                         sceltaIngrediente + "Burro|Latte|Zucchera", interrotta},
             "");
        caso("renamed to an existing name", "Dolci", QStringList{"Zucchero"}, QStringList{"Dolci"},
             QStringList{"Zucchera"}, QStringList{"si", "si", "=Zucchera", "ok"}, QStringList{},
             QStringList{ingrediente("Zucchero", "Zucchera"), rinominaIngrediente,
                         "? Assegnazione nuovo nome all'Ingrediente: Inserisci il nuovo nome "
                         "dell'Ingrediente. [Zucchero]",
                         fatto},
             "Torta [Dolci] Zucchera 1");
        caso("same ingredient twice, asked twice", "Dolci", QStringList{"Zucchero", "Zucchero"},
             QStringList{"Dolci"}, QStringList{"Zucchera"}, QStringList{"no", "no"},
             QStringList{"Zucchera", "Zucchera"},
             QStringList{ingrediente("Zucchero", "Zucchera"), sceltaIngrediente + "Zucchera",
                         ingrediente("Zucchero", "Zucchera"), sceltaIngrediente + "Zucchera"},
             "Torta [Dolci] Zucchera 1, Zucchera 2");
        caso("ingredient cancelled", "Dolci", QStringList{"Burro", "Zucchero"},
             QStringList{"Dolci"}, QStringList{"Zucchera"}, QStringList{"annulla", "ok"},
             QStringList{}, QStringList{ingrediente("Zucchero", "Zucchera"), interrotta}, "");
    }
    void mapping_asksAboutSimilarNames()
    {
        QFETCH(QString, categoria);
        QFETCH(QStringList, ingredienti);
        QFETCH(QStringList, categorie);
        QFETCH(QStringList, presenti);
        QFETCH(QStringList, risposte);
        QFETCH(QStringList, scelte);
        // Keys in the source book that the current book does not have, or names other rows.
        for (int i = 0; i < 5; ++i)
            sorgente->ingrediente(QString("Altro %1").arg(i));
        // "-" names a category or an ingredient the source book does not hold, "" none.
        const qint64 torta =
            sorgente->ricetta("Torta", categoria == "-"      ? 999
                                       : categoria.isEmpty() ? 0
                                                             : sorgente->categoria(categoria));
        if (categoria.isEmpty())
            sorgente->esegui("UPDATE Ricette SET IDCategoriaAlimentare = NULL");
        for (int i = 0; i < ingredienti.size(); ++i)
            if (ingredienti.at(i) == "-")
                AltroProgramma(sorgente->percorso(),
                               qPrintable(QString("INSERT INTO ingredienti_ricetta (IDRicetta, "
                                                  "IDIngrediente, \"Quantità\") VALUES (%1, 999, "
                                                  "'%2')")
                                              .arg(torta)
                                              .arg(i + 1)));
            else
                sorgente->riga(torta, sorgente->ingrediente(ingredienti.at(i)),
                               QString::number(i + 1));
        for (const QString &c : categorie)
            libro->categoria(c);
        for (const QString &i : presenti)
            libro->ingrediente(i);
        libro->ricetta("Crostata", categorie.isEmpty() ? 0 : 1);
        const QStringList prima = ricette(*libro);
        this->scelte = scelte;
        apri();
        // The window shows the recipe's lines, one of an ingredient the source lacks as blank.
        QCOMPARE(voci(finestra->findChild<QComboBox *>("ListaIngredienti")),
                 ingredienti.replaceInStrings(QRegularExpression("^-$"), ""));
        this->risposte(risposte);
        clic("Command3");
        QTEST(trascrizione(), "attese");
        QFETCH(QString, dopo);
        QCOMPARE(ricette(*libro), dopo.isEmpty() ? prima : prima + QStringList{dopo});
        // No category is none, never a key no category has.
        if (dopo.contains("[]"))
            QVERIFY(libro
                        ->valore("SELECT IDCategoriaAlimentare FROM Ricette WHERE IDRicetta = "
                                 "(SELECT max(IDRicetta) FROM Ricette)")
                        .isNull());
    }

    // "Importa Tutto" waits for a category and for an ingredient, goes on after each choice,
    // skips and renames as told, and at the end lists the current book's recipes again; an
    // interruption after a choice is said once and undoes the whole run.
    void run_waitsForChoices_data()
    {
        QTest::addColumn<QStringList>("risposte");
        QTest::addColumn<QStringList>("scelte");
        QTest::addColumn<QStringList>("attese"); // the titles of the boxes shown
        QTest::addColumn<QStringList>("dopo");
        QTest::addColumn<bool>("nomiUnici"); // a unique index of the book refuses a second name
        const QStringList prima{"Pasta al forno [Dolci e torta] ", "Salse [Dolci e torta] "};
        caso("completed",
             QStringList{"no", "no",                             // Crostata: both picked
                         "no",                                   // Pasta al forno: skipped
                         "si", "si", "=Salsa verde", "no", "no", // Salsa: renamed, picked
                         "ok"},
             QStringList{"Dolci e torta", "Zucchera", "Dolci e torta", "Zucchera"},
             QStringList{"scelta", "scelta", "Attenzione! Ricetta già esistente", "scelta",
                         "scelta", "Fine importazione"},
             prima + QStringList{"Crostata [Dolci e torta] Zucchera 1",
                                 "Salsa verde [Dolci e torta] Burro 2, Zucchera 3"},
             false);
        // Salsa's Zucchero renamed to Zucchera, which a unique index of the book refuses.
        caso("engine error in the third recipe",
             QStringList{"no", "no", "no", "si", "no", "no", "si", "si", "=Zucchera", "ok"},
             QStringList{"Dolci e torta", "Zucchera", "Dolci e torta"},
             QStringList{"scelta", "scelta", "Attenzione! Ricetta già esistente", "scelta",
                         "Errore!"},
             prima, true);
        caso("cancelled after a choice", QStringList{"no", "no", "annulla", "ok"},
             QStringList{"Dolci e torta", "Zucchera"},
             QStringList{"scelta", "scelta", "Attenzione! Ricetta già esistente",
                         "Importazione non eseguita"},
             prima, false);
    }
    void run_waitsForChoices()
    {
        QFETCH(QStringList, risposte);
        QFETCH(QStringList, scelte);
        const qint64 torte = sorgente->categoria("Dolci e torte");
        const qint64 zucchero = sorgente->ingrediente("Zucchero");
        sorgente->riga(sorgente->ricetta("Crostata", torte), zucchero, "1");
        sorgente->ricetta("Pasta al forno", torte);
        const qint64 salsa = sorgente->ricetta("Salsa", torte);
        sorgente->riga(salsa, sorgente->ingrediente("Burro"), "2");
        sorgente->riga(salsa, zucchero, "3");
        const qint64 dolci = libro->categoria("Dolci e torta");
        libro->ingrediente("Zucchera");
        libro->ricetta("Pasta al forno", dolci);
        libro->ricetta("Salse", dolci);
        QFETCH(bool, nomiUnici);
        if (nomiUnici)
            libro->esegui("CREATE UNIQUE INDEX unico ON Ingredienti (Ingrediente)");
        const QByteArray primo = contenuto(libro->percorso());
        this->scelte = scelte;
        apri();
        this->risposte(risposte);
        clic("Command1");
        QStringList titoli = trascrizione().filter(
            QRegularExpression("^(scelta|Fine|Attenzione! Ricetta|Importazione non|Errore)"));
        titoli.replaceInStrings(
            QRegularExpression(":.*", QRegularExpression::DotMatchesEverythingOption), "");
        QTEST(titoli, "attese");
        QTEST(ricette(*libro), "dopo");
        if (titoli.last() != "Fine importazione")
            QCOMPARE(contenuto(libro->percorso()), primo);
        auto *lista = finestra->findChild<QComboBox *>("ListaRicette");
        QCOMPARE(lista->count(), ricette(*libro).size());
        QCOMPARE(lista->currentIndex(), 0);
    }

    // The recipe the cook picks with the mouse on the open list is the one imported, whole:
    // its own instructions, lines and category. Opening the list again and closing it changes
    // nothing; moving into the box with Tab goes back to the first recipe, whole too.
    void chosenRecipe_isTheOneImported_data()
    {
        QTest::addColumn<QString>("come");
        QTest::addColumn<QString>("attesa");
        caso("picked on the list", "lista", "Minestrone");
        caso("list opened again, closed", "riaperta", "Minestrone");
        caso("another window, then back", "altrove", "Minestrone");
        caso("Tab into the box", "tab", "Bruschette");
    }
    void chosenRecipe_isTheOneImported()
    {
        QFETCH(QString, come);
        const QStringList nomi{"Bruschette", "Lasagne", "Minestrone"};
        const QStringList categorie{"Antipasti", "Primi piatti", "Zuppe e minestre"};
        for (int i = 0; i < nomi.size(); ++i) {
            const qint64 r = sorgente->ricetta(nomi.at(i), sorgente->categoria(categorie.at(i)));
            sorgente->esegui("UPDATE Ricette SET Istruzioni = ? WHERE IDRicetta = ?",
                             {"Come si fa: " + nomi.at(i), r});
            sorgente->riga(r, sorgente->ingrediente("Per " + nomi.at(i)), QString::number(i + 1));
        }
        apri();
        QApplication::setActiveWindow(finestra.get());
        auto *scelta = finestra->findChild<QComboBox *>("impRicette");
        const auto apriLista = [scelta] {
            QTest::mouseClick(scelta, Qt::LeftButton);
            QVERIFY(scelta->view()->isVisible());
        };
        apriLista();
        QAbstractItemView *vista = scelta->view();
        const QRect terza = vista->visualRect(vista->model()->index(2, 0));
        // The pointer goes over the entry first, as a hand does.
        QMouseEvent verso(QEvent::MouseMove, terza.center(),
                          vista->viewport()->mapToGlobal(terza.center()), Qt::NoButton,
                          Qt::NoButton, {});
        QApplication::sendEvent(vista->viewport(), &verso);
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, {}, terza.center());
        QVERIFY(!vista->isVisible());
        QCOMPARE(scelta->currentText(), "Minestrone");
        QCOMPARE(finestra->findChild<QLabel *>("Cat")->text(), "Zuppe e minestre");
        if (come == "riaperta") {
            apriLista();
            QTest::keyClick(vista, Qt::Key_Escape);
            QVERIFY(!vista->isVisible());
        } else if (come == "altrove") {
            QWidget altra;
            altra.show();
            QApplication::setActiveWindow(&altra);
            QApplication::setActiveWindow(finestra.get());
            QCOMPARE(QApplication::focusWidget(), scelta);
        } else if (come == "tab") {
            finestra->findChild<QComboBox *>("ListaRicette")->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), scelta);
        }
        risposte({"ok"});
        clic("Command3");
        QFETCH(QString, attesa);
        const int i = nomi.indexOf(attesa);
        QCOMPARE(ricette(*libro), QStringList{attesa + " [" + categorie.at(i) + "] Per " + attesa +
                                              " " + QString::number(i + 1)});
        QCOMPARE(libro->valore("SELECT Istruzioni FROM Ricette"), "Come si fa: " + attesa);
    }

    // A tick under a question answers the following ones of its kind in this import without
    // showing them; unticked, each is asked. The closing message counts what was done.
    void answerForAll_coversItsKind_data()
    {
        QTest::addColumn<QString>("domanda");
        QTest::addColumn<bool>("spunta");
        QTest::addColumn<QStringList>("risposte"); // to the first question of the kind
        QTest::addColumn<int>("mostrate");         // question boxes and choice dialogs shown
        QTest::addColumn<QString>("fatto"); // imported, skipped, renamed, ingredients, categories
        for (const bool spunta : {true, false}) {
            const int volte = spunta ? 1 : 3;
            const QString come = spunta ? ", ticked" : ", not ticked";
            caso(qPrintable("identical recipe" + come), "identica", spunta, QStringList{"no"},
                 volte, "0 3 0 0 0");
            caso(qPrintable("similar recipe" + come), "simile", spunta, QStringList{"si", "no"},
                 2 * volte, "3 0 0 0 0");
            caso(qPrintable("similar category" + come), "categoria", spunta,
                 QStringList{"si", "no"}, 2 * volte, "3 0 0 0 3");
            caso(qPrintable("similar ingredient" + come), "ingrediente", spunta,
                 QStringList{"si", "no"}, 2 * volte, "3 0 0 3 0");
            caso(qPrintable("without a category" + come), "senza", spunta, QStringList{}, volte,
                 "3 0 0 0 0");
        }
    }
    void answerForAll_coversItsKind()
    {
        QFETCH(QString, domanda);
        QFETCH(bool, spunta);
        QFETCH(QStringList, risposte);
        const QStringList nomi{"Crostata", "Salsa", "Torta"};
        const QStringList simili{"Crostate", "Salse", "Torte"};
        const QStringList categorie{"Antipasto", "Contorno", "Dolci e torte"};
        const QStringList presenti{"Antipasti", "Contorni", "Dolci e torta"};
        const QStringList ingredienti{"Zucchero", "Farina", "Burro"};
        const QStringList vicini{"Zucchera", "Farine", "Burri"};
        for (int i = 0; i < 3; ++i) {
            const qint64 r = sorgente->ricetta(
                nomi.at(i), domanda == "senza" ? 0 : sorgente->categoria(categorie.at(i)));
            sorgente->riga(r, sorgente->ingrediente(ingredienti.at(i)));
            libro->categoria(domanda == "categoria" ? presenti.at(i) : categorie.at(i));
            libro->ingrediente(domanda == "ingrediente" ? vicini.at(i) : ingredienti.at(i));
            if (domanda == "identica" || domanda == "simile")
                libro->ricetta(domanda == "identica" ? nomi.at(i) : simili.at(i), 1);
        }
        if (domanda == "senza")
            sorgente->esegui("UPDATE Ricette SET IDCategoriaAlimentare = NULL");
        for (int i = 0; i < (spunta ? 1 : 3); ++i)
            for (const QString &r : risposte) {
                const Dialogs::Risposta a = r == "si" ? Dialogs::Si : Dialogs::No;
                spunta ? dialoghi->rispondiSpuntando(a) : dialoghi->rispondi(a);
            }
        if (domanda == "senza")
            scelte = spunta ? QStringList{"+Contorno"} : QStringList(3, "Contorno");
        dialoghi->rispondi(Dialogs::OK);
        apri();
        clic("Command1");
        const QStringList t = trascrizione();
        QTEST(int(t.size() - 1), "mostrate");
        for (const auto &c : dialoghi->messaggi())
            if (c.pulsanti == Dialogs::SiNoAnnulla)
                QCOMPARE(c.casella, "Applica questa risposta a tutte le domande uguali di questa "
                                    "importazione");
        QFETCH(QString, fatto);
        const QStringList n = fatto.split(' ');
        QCOMPARE(dialoghi->visti().last(),
                 "Fine importazione: Importazione completata\r\n\r\nRicette importate: " + n.at(0) +
                     "\r\nRicette saltate: " + n.at(1) + "\r\nRicette rinominate: " + n.at(2) +
                     "\r\nIngredienti aggiunti: " + n.at(3) +
                     "\r\nCategorie alimentari aggiunte: " + n.at(4));
        if (domanda == "senza")
            QCOMPARE(libro->valore("SELECT count(*) FROM Ricette r JOIN \"Categorie alimentari\" c "
                                   "USING (IDCategoriaAlimentare) WHERE c.CategoriaAlimentare = "
                                   "'Contorno'"),
                     3);
    }

    // A tick answers for one import: the next button's import asks again, and counts afresh.
    void answerForAll_lastsOneImport()
    {
        ricetteSorgenti({"Crostata", "Salsa", "Torta"});
        for (const char *nome : {"Crostata", "Salsa", "Torta"})
            libro->ricetta(nome, 1);
        dialoghi->rispondiSpuntando(Dialogs::No).rispondi(Dialogs::OK);
        apri();
        clic("Command1");
        dialoghi->rispondi(Dialogs::Si).rispondiInput("Crostata di nonna").rispondi(Dialogs::OK);
        clic("Command3");
        const QStringList t = trascrizione();
        QCOMPARE(t.value(2), "Attenzione! Ricetta già esistente: La ricetta che si vuol importare "
                             "esiste già (Crostata).\r\nLa vuoi aggiungere ugualmente al tuo "
                             "ricettario?");
        QCOMPARE(dialoghi->visti().last(),
                 "Fine importazione: Importazione completata\r\n\r\nRicette importate: 1\r\n"
                 "Ricette saltate: 0\r\nRicette rinominate: 1\r\nIngredienti aggiunti: 1\r\n"
                 "Categorie alimentari aggiunte: 1");
    }

    // "Importa Tutto" from a converted Access book or the sample, into a new empty book or the
    // sample, whatever the cook answers: it completes, and the source is only read.
    void everySource_everyAnswer_completes_data()
    {
        QTest::addColumn<QString>("fonte");    // "access" or "esempio"
        QTest::addColumn<QString>("corrente"); // "nuovo" (the template) or "esempio"
        QTest::addColumn<QString>("risposta"); // to every question: "no", "si-no", "si-si"
        for (const char *fonte : {"access", "esempio"})
            for (const char *corrente : {"nuovo", "esempio"})
                for (const char *risposta : {"no", "si-no", "si-si"})
                    if (QString(fonte) != corrente)
                        caso(qPrintable(QString("%1 into %2, %3").arg(fonte, corrente, risposta)),
                             fonte, corrente, risposta);
        caso("access into access, si-si", "access", "access", "si-si");
    }
    void everySource_everyAnswer_completes()
    {
        QFETCH(QString, fonte);
        QFETCH(QString, corrente);
        QFETCH(QString, risposta);
        const auto libroDi = [this](const QString &tipo, const QString &dove) {
            if (tipo == "access") {
                ConversioneAccess conversione({QStringLiteral(PROGRAMMA_JET)});
                bool fatta = false;
                connect(&conversione, &ConversioneAccess::riuscita, this, [&] { fatta = true; });
                conversione.avvia(QString(FIXTURE_ACCESS) + "/ricettario-access2003.mdb", dove);
                QVERIFY(QTest::qWaitFor([&] { return fatta; }, 60000));
            } else
                QVERIFY(QFile::copy(
                    QString(LIBRI) + (tipo == "nuovo" ? "/Ricetta" : "/Ricette.mdb"), dove));
            QFile(dove).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        };
        QFile::remove(sorgente->percorso());
        libroDi(fonte, sorgente->percorso());
        QFile::remove(libro->percorso());
        libroDi(corrente, libro->percorso());
        const QByteArray fonteLetta = contenuto(sorgente->percorso());
        const int prima = libro->valore("SELECT count(*) FROM Ricette").toInt();
        const qint64 ultima =
            libro->valore("SELECT ifnull(max(IDRicetta), 0) FROM Ricette").toLongLong();
        // Every question gets the same answers; a choice takes the first entry.
        sceltaFissa = true;
        int rinominate = 0;
        dialoghi->allaComparsa = [this, risposta, &rinominate] {
            const auto &c = dialoghi->chiamate.last();
            Dialogs::Risposta r = Dialogs::OK;
            if (c.testo == "La vuoi rinominare ?")
                r = risposta == "si-si" ? Dialogs::Si : Dialogs::No;
            else if (c.pulsanti == Dialogs::SiNoAnnulla)
                r = risposta == "no" ? Dialogs::No : Dialogs::Si;
            dialoghi->rispondi(r);
            // Yes to a rename, or to a name the book has, asks for the new name.
            if (r == Dialogs::Si &&
                (c.testo == "La vuoi rinominare ?" || c.titolo.contains("già esistente")))
                dialoghi->rispondiInput(QString("Rinominata %1").arg(++rinominate));
        };
        apri();
        clic("Command1");
        const QStringList visti = dialoghi->visti();
        QVERIFY2(visti.filter("Errore").isEmpty(), qPrintable(visti.join("\n")));
        QCOMPARE(visti.last().section(':', 0, 0), "Fine importazione");
        QCOMPARE(contenuto(sorgente->percorso()), fonteLetta);
        QVERIFY(libro->valore("SELECT count(*) FROM Ricette").toInt() > prima);
        // No recipe imported refers to a category the book does not hold.
        QCOMPARE(libro->valore("SELECT count(*) FROM Ricette WHERE IDRicetta > ? AND "
                               "IDCategoriaAlimentare NOT IN (SELECT IDCategoriaAlimentare FROM "
                               "\"Categorie alimentari\")",
                               {ultima}),
                 0);
        dialoghi->allaComparsa = nullptr;
        sceltaFissa = false;
    }

    // "Annulla", every interruption and a commit that fails put the book back byte for byte,
    // whatever was imported since the window opened; a journal left beside the book is not
    // rolled into it. An import after the rollback brings its ingredients in again.
    void rollback_restoresTheBookExactly_data()
    {
        QTest::addColumn<QString>("come");
        caso("Annulla after two imports", "annulla");
        caso("Cancel in the third", "interrotta");
        caso("journal beside the book", "giornale");
        caso("another program reads the book", "lettore");
    }
    void rollback_restoresTheBookExactly()
    {
        QFETCH(QString, come);
        ricetteSorgenti({"Crostata", "Salsa", "Torta"});
        libro->ricetta("Salse", libro->categoria("Dolci"));
        const QByteArray prima = contenuto(libro->percorso());
        apri();
        auto *scelta = finestra->findChild<QComboBox *>("impRicette");
        risposte({"ok", "si", "no", "ok"});
        clic("Command3"); // Crostata
        scelta->setCurrentIndex(1);
        emit scelta->activated(1);
        clic("Command3"); // Salsa, similar to Salse
        QCOMPARE(ricette(*libro).size(), 3);
        std::unique_ptr<AltroProgramma> lettore;
        if (come == "interrotta" || come == "lettore") {
            risposte(come == "lettore" ? QStringList{"ok"} : QStringList{"annulla", "ok"});
            if (come == "lettore") {
                // Its read lock holds the commit off: the import must not be said done.
                lettore = std::make_unique<AltroProgramma>(libro->percorso(),
                                                           "BEGIN; SELECT count(*) FROM Ricette");
                Database::apri(libro->percorso())->setAttesaMassima(0);
            }
            scelta->setCurrentIndex(come == "lettore" ? 2 : 1);
            emit scelta->activated(scelta->currentIndex());
            clic("Command3");
            QVERIFY(finestra->isVisible());
        } else {
            if (come == "giornale") {
                QFile giornale(libro->percorso() + "-journal");
                QVERIFY(giornale.open(QIODevice::WriteOnly));
                giornale.write(QByteArray(4096, 'j'));
            }
            clic("Annulla");
            QVERIFY(!finestra->isVisible());
            QVERIFY(!QFile::exists(libro->percorso() + "-journal"));
        }
        QCOMPARE(contenuto(libro->percorso()), prima);
        QCOMPARE(
            contenuto(libro->cartella() + "/" + QFileInfo(libro->percorso()).baseName() + ".old"),
            prima);
        if (lettore) {
            QCOMPARE(dialoghi->visti().filter("Importazione completata").size(), 2);
            QVERIFY(dialoghi->visti().last().startsWith(
                "Errore!: L'importazione non è stata eseguita:\r\nImpossibile aprire il file"));
            lettore.reset();
        }
        if (finestra->isVisible()) {
            // Nothing of the undone imports is remembered: Zucchero comes in anew.
            risposte({"ok"});
            scelta->setCurrentIndex(0);
            emit scelta->activated(0);
            clic("Command3");
            QCOMPARE(ricette(*libro).last(), "Crostata [Dolci] Zucchero 100");
        }
    }

    // An import fails (another program holds the book) and the copy cannot be put back (it is
    // gone): the message says the book is as it was when nothing was kept since the window
    // opened, and names the copy to use when not.
    void failedRestore_saysTheStateOfTheBook_data()
    {
        QTest::addColumn<bool>("primaTenuta"); // an import completed before, kept
        caso("nothing kept before", false);
        caso("an import kept before", true);
    }
    void failedRestore_saysTheStateOfTheBook()
    {
        QFETCH(bool, primaTenuta);
        ricetteSorgenti({"Crostata", "Salsa"});
        apri();
        if (primaTenuta) {
            risposte({"ok"});
            clic("Command3");
        }
        const QByteArray tenuto = contenuto(libro->percorso());
        auto *scelta = finestra->findChild<QComboBox *>("impRicette");
        scelta->setCurrentIndex(1);
        emit scelta->activated(1);
        const QString copia = libro->percorso().chopped(3) + "old";
        QVERIFY(QFile::remove(copia));
        QVERIFY(QDir().mkdir(copia));
        AltroProgramma lettore(libro->percorso(), "BEGIN; SELECT count(*) FROM Ricette");
        Database::apri(libro->percorso())->setAttesaMassima(0);
        risposte({"ok"});
        clic("Command3");
        lettore.lascia();
        const QString testo = dialoghi->visti().last();
        QVERIFY2(testo.startsWith("Errore!: L'importazione non è stata eseguita:"),
                 qPrintable(testo));
        QCOMPARE(contenuto(libro->percorso()), tenuto);
        if (primaTenuta)
            QVERIFY2(testo.endsWith("Il ricettario corrente non è com'era all'apertura di questa "
                                    "finestra.\r\nPer riaverlo com'era, usate la copia di "
                                    "sicurezza\r\n" +
                                    copia + "\r\nmettendola al posto di\r\n" + libro->percorso()),
                     qPrintable(testo));
        else
            QVERIFY2(testo.endsWith("\r\nIl ricettario corrente è com'era all'apertura di "
                                    "questa finestra: non è cambiato nulla."),
                     qPrintable(testo));
    }

    // A long address keeps the window's width: cut in the middle, whole in the tooltip, its
    // "&" shown as itself; "Help ?" opens the page of the source's kind.
    void window_keepsItsWidthAndHelpsByKind_data()
    {
        QTest::addColumn<int>("provenienza");
        QTest::addColumn<QString>("pagina");
        caso("a book", Applicazione::Provenienza::Ricettario, "importazione.html");
        caso("a web page", Applicazione::Provenienza::PaginaWeb, "web.html");
        caso("a MealMaster file", Applicazione::Provenienza::MealMaster, "mealmaster.html");
    }
    void window_keepsItsWidthAndHelpsByKind()
    {
        QFETCH(int, provenienza);
        ricetteSorgenti({"Crostata"});
        const int larghezza = apri({"Dolci"})->minimumSizeHint().width();
        finestra.reset();
        QString indirizzo = "https://x.it/?a&b=torta-della-nonna&utm_source=app&"
                            "utm_medium=condivisione&utm_campaign=";
        indirizzo += QString(220 - 5 - indirizzo.size(), u'x') + "&id=7";
        apri({indirizzo, Applicazione::Provenienza(provenienza)});
        QCOMPARE(finestra->minimumSizeHint().width(), larghezza);
        auto *cornice = finestra->findChild<QGroupBox *>("Frame1");
        QVERIFY2(cornice->title().startsWith("Ricettario da Importare: https://x.it/") &&
                     cornice->title().endsWith("x&&id=7"),
                 qPrintable(cornice->title()));
        QVERIFY(cornice->title().contains(QChar(0x2026)));
        QCOMPARE(cornice->toolTip(), indirizzo);
        QCOMPARE(finestra->windowTitle(), "Importazione di " + indirizzo);
        clic("Command4");
        const auto guida = dialoghi->di("guida").value(0);
        QFETCH(QString, pagina);
        QCOMPARE(Guida::pagina(guida.comando, guida.contesto).fileName(), pagina);
    }

    // A backup copy that cannot be written imports nothing.
    void badBooks_importNothing()
    {
        ricetteSorgenti({"Crostata"});
        const QString copia = libro->percorso().chopped(3) + "old";
        QVERIFY(QDir().mkdir(copia)); // where the copy should go stands a folder
        dialoghi->rispondi(Dialogs::OK);
        apri();
        QCOMPARE(dialoghi->visti().value(0).section(':', 0, 0), "Errore di importazione");
        for (const char *pulsante : {"Command1", "Command3", "Annulla"})
            QVERIFY(!finestra->findChild<QPushButton *>(pulsante)->isEnabled());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TstImport t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_import.moc"
