#include "caso.h"
#include "editore.h"
#include "principale.h"

#include <QMap>
#include <QPaintEvent>
#include <QRegion>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// What the widgets of a window paint, by name (a viewport or a scroll bar by the widget it
// serves), each with the region it painted.
class Pitture : public QObject
{
public:
    explicit Pitture(QWidget *finestra) : finestra_(finestra) { qApp->installEventFilter(this); }
    QMap<QString, QRegion> dipinte;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() != QEvent::Paint || !o->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(o);
        if (w->window() != finestra_)
            return false;
        QString nome = w->objectName();
        if (nome.isEmpty() || nome.startsWith("qt_"))
            nome = QStringLiteral("%1 of %2")
                       .arg(w->metaObject()->className(), w->parentWidget()->objectName());
        dipinte[nome] += static_cast<QPaintEvent *>(e)->region();
        return false;
    }

private:
    QWidget *finestra_;
};

} // namespace

// A move between recipes: what it draws again, and how it shows the long texts.
class TstSpostamenti : public ProvaEditor
{
    Q_OBJECT

    qint64 crostata = 0, lasagne = 0, farina = 0, burro = 0;

    // Two recipes alike but for their name, two lines each.
    void gemelle()
    {
        const qint64 dolci = libro->categoria("Dolci");
        crostata = libro->ricetta("Crostata", dolci);
        lasagne = libro->ricetta("Lasagne", dolci);
        farina = libro->ingrediente("Farina");
        burro = libro->ingrediente("Burro");
        for (const qint64 r : {crostata, lasagne}) {
            libro->esegui("UPDATE Ricette SET DescrizioneRicetta = 'Di casa', Istruzioni = "
                          "'Impastare e cuocere.', TempoPreparazione = '1 ora' WHERE IDRicetta = ?",
                          {r});
            libro->riga(r, farina, "200", "00");
            libro->riga(r, burro, "100", "");
        }
    }

    void cliccaScheda(const QString &titolo) const
    {
        auto *schede = w<QTabWidget>("schede");
        for (int i = 0; i < schede->count(); ++i)
            if (schede->tabText(i) == titolo)
                QTest::mouseClick(schede->tabBar(), Qt::LeftButton, {},
                                  schede->tabBar()->tabRect(i).center());
    }

private slots:
    void init() { preparaProva(); }
    void cleanup() { chiudiProva(); }

    // Only what differs is drawn again: the name, the caption, the two names in the list and
    // the button pressed; a line of the grid that differs, as one rectangle.
    void move_repaintsOnlyWhatDiffers_data()
    {
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("diversa"); // a line's quantity, or the instructions
        caso("navigation bar", "barra", "");
        caso("recipe list", "lista", "");
        caso("a line differs", "barra", "riga");
        caso("the instructions differ", "barra", "istruzioni");
    }
    void move_repaintsOnlyWhatDiffers()
    {
        QFETCH(QString, via);
        QFETCH(QString, diversa);
        gemelle();
        if (diversa == "riga")
            libro->esegui("UPDATE ingredienti_ricetta SET \"Quantità\" = '150' WHERE IDRicetta = "
                          "? AND IDIngrediente = ?",
                          {lasagne, burro});
        else if (diversa == "istruzioni")
            libro->esegui(
                "UPDATE Ricette SET Istruzioni = 'Cuocere e servire.' WHERE IDRicetta = ?",
                {lasagne});
        apri();
        // What the opening left is drawn: the grid's first paint lays its rows out and leaves
        // them to be drawn again.
        for (int i = 0; i < 2; ++i)
            QCoreApplication::processEvents();
        Pitture pitture(finestra.get());
        if (via == "barra")
            barra("successivo");
        else
            clicVoce("ListaRicette", "Lasagne");
        QCoreApplication::processEvents();
        QCOMPARE(campo(1), QString("Lasagne"));
        // The window and the frames around a box show through its corners; the list clicked
        // shows it has the focus.
        QStringList attese{"QWidget of ListaRicette",
                           "Ricette",
                           "caption",
                           "contenuto",
                           "datPrimaryRS",
                           "txtFields_1",
                           via == "barra" ? "successivo" : "ListaRicette"};
        if (diversa == "riga")
            attese << "QWidget of GridRicette";
        else if (diversa == "istruzioni") // its text alone: the scroll bar beside it stays
            attese << "QWidget of txtFields_12";
        attese.sort();
        QCOMPARE(pitture.dipinte.keys(), attese);
        if (diversa == "riga") {
            const QRegion righe = pitture.dipinte.value("QWidget of GridRicette");
            QCOMPARE(righe.rectCount(), 1);
            QVERIFY(righe.boundingRect().contains(
                griglia()->visualRect(griglia()->model()->index(1, 1))));
            QCOMPARE(righe.boundingRect().height(), griglia()->rowHeight(1));
        }
    }

    // Each long text shows from its start, on the tab shown or once its tab is picked, however
    // far the cook had read the one before; undoing never brings back the recipe left.
    void move_showsEachTextFromItsStart_data()
    {
        QTest::addColumn<QString>("scheda"); // where the cook reads and types
        QTest::addColumn<QString>("casella");
        QTest::addColumn<QString>("testo"); // its column
        caso("the tab shown", "Istruzioni", "txtFields_12", "Istruzioni");
        caso("a tab picked later", "Note", "txtFields_13", "Note");
    }
    void move_showsEachTextFromItsStart()
    {
        QFETCH(QString, scheda);
        QFETCH(QString, casella);
        QFETCH(QString, testo);
        gemelle();
        const QString lungo = QString("Mescolate piano e assaggiate. ").repeated(60);
        libro->esegui(QStringLiteral("UPDATE Ricette SET %1 = ? WHERE IDRicetta = ?").arg(testo),
                      {"Prima. " + lungo, crostata});
        libro->esegui(QStringLiteral("UPDATE Ricette SET %1 = ? WHERE IDRicetta = ?").arg(testo),
                      {"Seconda. " + lungo, lasagne});
        apri();
        auto *m = w<QPlainTextEdit>(qPrintable(casella));
        cliccaScheda(scheda);
        QTest::mouseClick(m->viewport(), Qt::LeftButton);
        QTest::keyClick(m, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(m->verticalScrollBar()->value() > 0);
        scrivi(m, " Fine.");
        cliccaScheda("Istruzioni");
        barra("successivo");
        // A box on a tab not shown waits for it to lay its new text out.
        if (!m->isVisible())
            QCOMPARE(m->document()->firstBlock().layout()->lineCount(), 0);
        cliccaScheda(scheda);
        QCOMPARE(m->toPlainText(), "Seconda. " + lungo);
        QCOMPARE(m->textCursor().position(), 0);
        QCOMPARE(m->verticalScrollBar()->value(), 0);
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        QTest::keyClick(m, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m->toPlainText(), "Seconda. " + lungo);
        barra("precedente");
        QCOMPARE(colonna(qPrintable(testo), crostata).toString(), "Prima. " + lungo + " Fine.");
        QCOMPARE(colonna(qPrintable(testo), lasagne).toString(), "Seconda. " + lungo);
    }
};

PENTOLONE_TEST_MAIN(TstSpostamenti)

#include "tst_spostamenti.moc"
