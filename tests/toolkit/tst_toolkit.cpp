#include "caso.h"
#include "erroridati.h"
#include "libro.h"
#include "storage/database.h"
#include "storage/datasource.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"
#include "toolkit/finestraavanzamento.h"
#include "toolkit/flexgrid.h"
#include "toolkit/grigliadati.h"
#include "toolkit/guida.h"
#include "toolkit/maiuscole.h"
#include "toolkit/navigationbar.h"
#include "toolkit/qtdialogs.h"
#include "toolkit/stile.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPixmapCache>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <optional>

namespace {

// The categories of a book in key order, wired as the windows wire them: a grid, a navigation
// bar and an entry box bound to the name.
struct Anagrafica
{
    DataSource ds;
    QWidget finestra;
    QTableView *griglia = new QTableView(&finestra);
    NavigationBar *barra = new NavigationBar(&finestra);
    QLineEdit *nome = new QLineEdit(&finestra);
    QList<int> errori;

    explicit Anagrafica(const QString &libro)
    {
        auto *l = new QVBoxLayout(&finestra);
        l->addWidget(griglia);
        l->addWidget(barra);
        l->addWidget(nome);
        finestra.resize(400, 600);
        ds.setDatabaseName(libro);
        ds.setRecordSource(Schema::Origine::CategorieOrdinePerChiave);
        ds.bind(nome, "CategoriaAlimentare");
        barra->attach(&ds);
        collegaGriglia(griglia, &ds, {{QString(), -1}, {"Categoria", 1}});
        raccogliErrori(ds, &finestra, errori);
        finestra.show();
        ds.Refresh();
    }
    int corrente() const { return ds.Recordset()->AbsolutePosition(); }
    QString cella(int riga, int colonna = 1) const
    {
        return griglia->model()->index(riga, colonna).data().toString();
    }
    // What a user sees: a paint of the grid, then whatever the paint left queued.
    void dipingi()
    {
        griglia->viewport()->grab();
        QCoreApplication::processEvents();
    }
};

// Answers the print dialog as a cook does once it shows: "Stampa su file (PDF)", "Stampa".
class RispostaAllaStampa : public QObject
{
public:
    int date = 0;
    RispostaAllaStampa() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (auto *d = qobject_cast<QPrintDialog *>(o); d && e->type() == QEvent::Show)
            QMetaObject::invokeMethod(
                this, [this, d] { rispondi(d); }, Qt::QueuedConnection);
        return false;
    }

private:
    void rispondi(QPrintDialog *d)
    {
        auto *stampanti = d->findChild<QComboBox *>("printers");
        if (!stampanti) { // not the dialog a cook sees
            d->reject();
            return;
        }
        int pdf = stampanti->findText("Stampa su file (PDF)");
        if (pdf < 0)
            pdf = stampanti->findText("Print to File (PDF)");
        stampanti->setCurrentIndex(pdf);
        ++date;
        QTest::mouseClick(d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    }
};

} // namespace

class TstToolkit : public QObject
{
    Q_OBJECT

private slots:
    void ruleOfCapitals_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("atteso");
        caso("plain", "pasta", "Pasta");
        caso("rest untouched", "olio d'OLIVA", "Olio d'OLIVA");
        caso("accented", "èrba cipollina", "Èrba cipollina");
        caso("blanks around", "  burro  ", "Burro");
        caso("blanks only", "   ", "");
        caso("apostrophe first", "'nduja", "'nduja");
        caso("letter outside the basic plane", "𐐨𐐯𐐨", "𐐀𐐯𐐨");
    }
    void ruleOfCapitals()
    {
        QFETCH(QString, nome);
        QTEST(maiuscolaIniziale(nome), "atteso");
    }

    // The guide answers for its file by name alone, and opens the page of a command and topic.
    void help_opensThePageOfItsTopic_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("comando");
        QTest::addColumn<int>("contesto");
        QTest::addColumn<QString>("pagina"); // empty: not the guide's file
        caso("contents", "Pentolone.hlp", 3, 0, "indice.html");
        caso("topic, file name in capitals", "Pentolone.HLP", 1, 2, "ricette.html");
        caso("unknown topic, windows folder", "C:\\Programmi\\Pentolone.hlp", 1, 99, "indice.html");
        caso("another file", "Altro.hlp", 3, 0, "");
    }
    void help_opensThePageOfItsTopic()
    {
        QFETCH(QString, file);
        QFETCH(int, comando);
        QFETCH(int, contesto);
        QFETCH(QString, pagina);
        QCOMPARE(Guida::eLaGuida(file), !pagina.isEmpty());
        if (pagina.isEmpty())
            return;
        Guida *g = Guida::mostra(Guida::pagina(comando, contesto));
        auto *browser = g->findChild<QTextBrowser *>("browser");
        QCOMPARE(browser->source().fileName(), pagina);
        QVERIFY(!browser->toPlainText().trimmed().isEmpty());
        QVERIFY(!browser->documentTitle().isEmpty());
        g->close();
    }

    void everyHelpLink_leadsToAPage()
    {
        const QStringList pagine = QDir(":/help").entryList({"*.html"});
        QVERIFY(pagine.contains("indice.html"));
        static const QRegularExpression link("href=\"([^\"#:]+\\.html)");
        for (const QString &p : pagine) {
            QFile f(":/help/" + p);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString testo = QString::fromUtf8(f.readAll());
            for (auto m = link.globalMatch(testo); m.hasNext();) {
                const QString destinazione = m.next().captured(1);
                QVERIFY2(pagine.contains(destinazione), qPrintable(p + " -> " + destinazione));
            }
        }
    }

    void navigationBar_andGrid_followTheSourceBothWays_data()
    {
        QTest::addColumn<int>("da");
        QTest::addColumn<QString>("comando"); // a bar button, or "riga N" clicked in the grid
        QTest::addColumn<bool>("elimina");    // the row there is deleted first
        QTest::addColumn<int>("atteso");
        caso("first", 2, "primo", false, 0);
        caso("previous", 2, "precedente", false, 1);
        caso("previous on the first", 0, "precedente", false, 0);
        caso("next", 2, "successivo", false, 3);
        caso("next on the last", 4, "successivo", false, 4);
        caso("last", 0, "ultimo", false, 4);
        caso("grid row", 0, "riga 3", false, 3);
        // After a deletion the bar goes on from the deleted row's place.
        caso("next after deleting", 2, "successivo", true, 2);
        caso("previous after deleting", 2, "precedente", true, 1);
        caso("next after deleting the last", 4, "successivo", true, 3);
        caso("previous after deleting the first", 0, "precedente", true, 0);
    }
    void navigationBar_andGrid_followTheSourceBothWays()
    {
        QFETCH(int, da);
        QFETCH(QString, comando);
        QFETCH(bool, elimina);
        QFETCH(int, atteso);
        LibroDiProva libro;
        const QStringList nomi = {"Antipasti", "Primi", "Secondi", "Contorni", "Dolci"};
        for (const QString &n : nomi)
            libro.categoria(n);
        Anagrafica a(libro.percorso());
        a.ds.vaiA(da);
        QStringList restanti = nomi;
        if (elimina) {
            a.ds.esegui([](Recordset &rs) { rs.Delete(); });
            restanti.removeAt(da);
        }
        if (comando.startsWith("riga")) {
            const QModelIndex i = a.griglia->model()->index(comando.mid(5).toInt(), 1);
            QTest::mouseClick(a.griglia->viewport(), Qt::LeftButton, {},
                              a.griglia->visualRect(i).center());
        } else {
            QTest::mouseClick(a.barra->findChild<QToolButton *>(comando), Qt::LeftButton);
        }
        QCOMPARE(a.corrente(), atteso);
        QCOMPARE(a.griglia->currentIndex().row(), atteso);
        QCOMPARE(a.nome->text(), restanti.at(atteso));
        QCOMPARE(a.griglia->model()->headerData(1, Qt::Horizontal).toString(),
                 QString("Categoria"));
        for (int r = 0; r < restanti.size(); ++r)
            QCOMPARE(a.cella(r, 0).isEmpty(), r != atteso); // the current row's marker
        QVERIFY(a.errori.isEmpty());
    }

    // The program's style copies an entry box's frame where Fusion would draw it: the same
    // pixels, whatever differs from the frame copied just before.
    void style_copiesTheFramesFusionDraws_data()
    {
        QTest::addColumn<QString>("diverso");
        for (const char *d : {"size", "focus", "inactive window", "palette", "double scale",
                              "scale and a half", "no frame"})
            caso(d, d);
    }
    void style_copiesTheFramesFusionDraws()
    {
        QFETCH(QString, diverso);
        QLineEdit casella;
        QStyleOptionFrame prima;
        prima.initFrom(&casella);
        prima.rect = QRect(3, 5, 120, 24);
        prima.lineWidth = 1;
        prima.state = QStyle::State_Enabled | QStyle::State_Active;
        // Unlike Qt's own, a desktop's palette may colour an inactive window's boxes apart.
        prima.palette.setColor(QPalette::Inactive, QPalette::Base, QColor(230, 230, 230));
        prima.palette.setCurrentColorGroup(QPalette::Active);
        QStyleOptionFrame poi = prima;
        qreal scala = 1;
        if (diverso == "size")
            poi.rect.setWidth(121);
        else if (diverso == "focus")
            poi.state |= QStyle::State_HasFocus;
        else if (diverso == "inactive window")
            poi.palette.setCurrentColorGroup(QPalette::Inactive);
        else if (diverso == "palette")
            poi.palette.setColor(QPalette::Base, QColor(255, 250, 205));
        else if (diverso == "double scale")
            scala = 2;
        else if (diverso == "scale and a half")
            scala = 1.5;
        else if (diverso == "no frame")
            poi.lineWidth = 0;
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create("fusion"));
        Stile stile("fusion");
        const auto disegno = [&](const QStyle &s, const QStyleOptionFrame &o, qreal dpr) {
            QImage carta(QSize(130, 34) * dpr, QImage::Format_ARGB32_Premultiplied);
            carta.setDevicePixelRatio(dpr);
            carta.fill(QColor(239, 239, 239));
            QPainter p(&carta);
            s.drawPrimitive(QStyle::PE_PanelLineEdit, &o, &p, &casella);
            return carta;
        };
        QPixmapCache::clear();
        QCOMPARE(disegno(stile, prima, 1), disegno(*fusion, prima, 1));
        QCOMPARE(disegno(stile, poi, scala), disegno(*fusion, poi, scala));
    }

    // The print dialog, answered "Stampa su file (PDF)" and "Stampa" as a cook answers it, sets
    // the printer up for the file it proposes; each dialog goes once the printout is done, or
    // every one would keep watching the home folder (the system allows a hundred or so).
    void printDialog_printsToTheProposedFileAndGoes()
    {
        QTemporaryDir cartella;
        QtDialogs::stampante().setOutputFormat(QPrinter::PdfFormat);
        QtDialogs::stampante().setOutputFileName(QDir(cartella.path()).filePath("prima.pdf"));
        QtDialogs dialoghi;
        RispostaAllaStampa risposta;
        for (const QString nome : {"Crostata", "Lasagne"}) {
            QCOMPARE(dialoghi.printDialog(1, nome), 1);
            QCOMPARE(QFileInfo(QtDialogs::stampante().outputFileName()).fileName(), nome + ".pdf");
        }
        QCOMPARE(risposta.date, 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(std::none_of(QApplication::topLevelWidgets().cbegin(),
                             QApplication::topLevelWidgets().cend(),
                             [](QWidget *w) { return qobject_cast<QPrintDialog *>(w); }));
    }

    // Row 0 of a flexible grid is its heading: the header shows it, and it stays while lines
    // come and go.
    void flexGrid_headingIsRowZero()
    {
        FlexGrid g;
        g.setCols(2);
        g.setTextMatrix(0, 1, "Quantità");
        g.AddItem("uova\t2");
        g.setRows(1);
        g.AddItem("farina\t100");
        QCOMPARE(g.Rows(), 2);
        QCOMPARE(g.model()->headerData(1, Qt::Horizontal).toString(), QString("Quantità"));
        QCOMPARE(g.TextMatrix(0, 1), QString("Quantità"));
        QCOMPARE(g.TextMatrix(1, 1), QString("100"));
    }

    // A read that fails while the grid paints shows what it can, is reported once, and leaves
    // the grid usable; the rows read well again once the cause is gone.
    void grid_failingRead_isReportedOnceAndNeverCrashes_data()
    {
        QTest::addColumn<QString>("causa");
        QTest::addColumn<int>("illeggibile"); // a row the failure keeps from showing
        caso("value over the length limit", "troppo lungo", 80);
        caso("book locked by another program", "bloccato", 99);
    }
    void grid_failingRead_isReportedOnceAndNeverCrashes()
    {
        QFETCH(QString, causa);
        QFETCH(int, illeggibile);
        LibroDiProva libro;
        for (int i = 0; i < 100; ++i)
            libro.categoria(QStringLiteral("Categoria %1").arg(i));
        if (causa == "troppo lungo")
            libro.esegui("UPDATE \"Categorie alimentari\" SET CategoriaAlimentare = "
                         "printf('%.*c', 70000000, 'x') WHERE IDCategoriaAlimentare = 81");
        // The grid's source shares this open book: a lock is given up after a short wait.
        const auto db = Database::apri(libro.percorso());
        db->setAttesaMassima(50);
        Anagrafica a(libro.percorso());
        a.dipingi();
        QCOMPARE(a.cella(0), QString("Categoria 0"));
        std::optional<AltroProgramma> altro;
        if (causa == "bloccato")
            altro.emplace(libro.percorso());
        a.griglia->scrollToBottom();
        a.dipingi();
        a.dipingi();
        QCOMPARE(a.errori.size(), 1);
        QCOMPARE(a.cella(illeggibile), QString());
        QCOMPARE(a.cella(0), QString("Categoria 0")); // what was read stays shown
        altro.reset();
        QTest::mouseClick(a.barra->findChild<QToolButton *>("ultimo"), Qt::LeftButton);
        a.dipingi();
        QCOMPARE(a.corrente(), 99);
        QCOMPARE(a.cella(99), QString("Categoria 99"));
        QCOMPARE(a.nome->text(), QString("Categoria 99"));
        QCOMPARE(a.errori.size(), causa == "bloccato" ? 1 : 2);
    }

    void localeDelProgramma_keepsTheUsersOrItalianForNone_data()
    {
        QTest::addColumn<QLocale>("sistema");
        QTest::addColumn<QString>("atteso");
        // POSIX and C.UTF-8 are the same C locale to Qt.
        caso("C", QLocale::c(), "it_IT");
        caso("Swiss Italian", QLocale("it_CH"), "it_CH");
        caso("English", QLocale("en_US"), "en_US");
    }
    void localeDelProgramma_keepsTheUsersOrItalianForNone()
    {
        QFETCH(QLocale, sistema);
        QTEST(localeDelProgramma(sistema).name(), "atteso");
    }

    // The progress window over the window the user is in: its bar moves to and fro until the
    // total is known, and "Annulla", Escape or its frame's close button cancel the work, once.
    void progressWindow_cancelledByButtonEscapeOrFrame_data()
    {
        QTest::addColumn<QString>("come");
        caso("Annulla", "pulsante");
        caso("Escape", "esc");
        caso("the frame's close button", "chiudi");
    }
    void progressWindow_cancelledByButtonEscapeOrFrame()
    {
        QFETCH(QString, come);
        QWidget sopra;
        sopra.show();
        FinestraAvanzamento avanzamento("Lettura della pagina in corso...", "Importa da pagina web",
                                        0, &sopra);
        QDialog &finestra = avanzamento.finestra();
        QVERIFY(finestra.isVisible());
        QCOMPARE(finestra.windowModality(), Qt::WindowModal);
        auto *barra = finestra.findChild<QProgressBar *>("barAvanzamento");
        avanzamento.segna(1000, -1);
        QCOMPARE(barra->maximum(), 0);
        avanzamento.segna(3, 4);
        QCOMPARE(std::pair(barra->value(), barra->maximum()), std::pair(3, 4));
        QSignalSpy annullato(&avanzamento, &Avanzamento::annullato);
        if (come == "pulsante")
            QTest::mouseClick(finestra.findChild<QPushButton *>("cmdAnnulla"), Qt::LeftButton);
        else if (come == "esc")
            QTest::keyClick(&finestra, Qt::Key_Escape);
        else
            finestra.close();
        QCOMPARE(annullato.size(), 1);
    }

    // Qt's own words in the standard buttons, the file and the print dialog, in Italian.
    void italianTranslation_coversQtsDialogs_data()
    {
        QTest::addColumn<QString>("contesto");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("commento");
        QTest::addColumn<QString>("atteso");
        // Words that read the same in both languages would pass untranslated.
        caso("button", "QPlatformTheme", "&Yes", "", "&Sì");
        caso("file dialog", "QAbstractFileIconProvider", "Folder", "All other platforms",
             "Cartella");
        caso("print dialog", "QPrintSettingsOutput", "Double Sided Printing", "",
             "Stampa fronte/retro");
        caso("page size in millimetres", "QPageSize", "Executive (7.5 x 10 in)", "",
             "Esecutivo (191 x 254 mm)");
    }
    void italianTranslation_coversQtsDialogs()
    {
        QFETCH(QString, contesto);
        QFETCH(QString, testo);
        QFETCH(QString, commento);
        static const bool installata = installaTraduzioneItaliana();
        QVERIFY(installata);
        QTEST(QCoreApplication::translate(qPrintable(contesto), qPrintable(testo),
                                          commento.isEmpty() ? nullptr : qPrintable(commento)),
              "atteso");
    }
};

QTEST_MAIN(TstToolkit)
#include "tst_toolkit.moc"
