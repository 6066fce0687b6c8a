#include "editore.h"
#include "principale.h"
#include "superficieregistrata.h"

namespace {
struct Conversione
{
    int porzioni;
    QString digitato;
    QStringList quantita, attese;
    QString nuove = {}; // the typed number unless given
    int beep = 0;
    QString locale = "en_US";
};
struct Sostituzione
{
    int riga; // 0: no line picked
    QString ingrediente, qta, commento;
    Righe attese;
};
} // namespace
Q_DECLARE_METATYPE(Conversione)
Q_DECLARE_METATYPE(Sostituzione)

// The conversion to another number of portions and the replacement of a line's ingredient.
class TstPorzioni : public ProvaEditor
{
    Q_OBJECT

    QLocale localeIniziale;
    qint64 arrosto = 0, farina = 0, uova = 0;

    void convertiIn(const QString &digitato)
    {
        scrivi(casella("Text2"), digitato);
        clic("Command5");
    }

private slots:
    void init()
    {
        preparaProva();
        const qint64 primi = libro->categoria("Primi");
        farina = libro->ingrediente("Farina");
        libro->ingrediente("Pepe");
        uova = libro->ingrediente("Uova");
        arrosto = libro->ricetta("Arrosto", primi);
        libro->ricetta("Zuppa", primi);
    }
    void cleanup()
    {
        chiudiProva();
        QLocale::setDefault(localeIniziale);
    }

    // The rounding to amounts a cook can measure and the text shown in the user's format,
    // quantities stored with "," read too; the box takes digits and backspace only, and nothing
    // to convert is no conversion and no message.
    void conversion_data()
    {
        QTest::addColumn<Conversione>("c");
        const std::pair<const char *, Conversione> arrotondamenti[] = {
            {"4 to 8",
             {4, "8", {"0.5", "200", "3", "0,5", "1000"}, {"1", "400", "6", "1", "2000"}}},
            {"4 to 2", {4, "2", {"1", "0.3", "0.25"}, {"0.5", "0", "0"}}},
            {"4 to 6", {4, "6", {"3", "1.5", "100"}, {"4.5", "2.25", "150"}}},
            {"4 to 5", {4, "5", {"100"}, {"125"}}},
            {"3 to 1", {3, "1", {"1", "2", "250"}, {"0.33", "0.67", "83.33"}}},
            {"100 to 95", {100, "95", {"1"}, {"1"}}},
            {"2.05 2.93 2.15 2.2",
             {10, "5", {"4.1", "5.86", "4.3", "4.4"}, {"2", "3", "2", "2.2"}}},
            // Halves of a hundredth go up; a tenth of 0.8 is not yet 0.9.
            {"halves and 0.8", {2, "4", {"1.12275", "1.4"}, {"2.25", "2.8"}}},
        };
        for (const char *locale : {"it_IT", "en_US"})
            for (auto [nome, c] : arrotondamenti) {
                c.locale = locale;
                c.attese.replaceInStrings(".", QLocale(locale).decimalPoint());
                QTest::addRow("%s, %s", locale, nome) << c;
            }
        QTest::newRow("an overflow stays") << Conversione{4, "8", {"1e308", "2"}, {"1e308", "4"}};
        QTest::newRow("a letter beeps") << Conversione{4, "1a2", {"2.05"}, {"6"}, "12", 1};
        QTest::newRow("backspace") << Conversione{4, "85\b", {"2.05"}, {"4"}, "8"};
        QTest::newRow("empty") << Conversione{4, "", {"2.05"}, {"2.05"}, "4"};
        QTest::newRow("the same number") << Conversione{4, "4", {"2.05"}, {"2.05"}, "4"};
        QTest::newRow("zero") << Conversione{4, "0", {"2.05"}, {"2.05"}, "4"};
    }
    void conversion()
    {
        QFETCH(Conversione, c);
        const QString nuove = c.nuove.isEmpty() ? c.digitato : c.nuove;
        QLocale::setDefault(QLocale(c.locale));
        libro->esegui("UPDATE Ricette SET NumeroPorzioni = ? WHERE IDRicetta = ?",
                      {c.porzioni, arrosto});
        for (const QString &q : c.quantita)
            libro->riga(arrosto, farina, q);
        apri();
        convertiIn(c.digitato);
        QStringList mostrate;
        for (const QStringList &riga : righeGriglia())
            mostrate << riga.value(1);
        QCOMPARE(mostrate, c.attese);
        QCOMPARE(campo(8), nuove);
        QCOMPARE(ProvaEditor::beep(), c.beep);
        QCOMPARE(casella("Text2")->text(), QString());
        QVERIFY(dialoghi->messaggi().isEmpty());
    }

    // Check1 clear: only the window changes, and the bar or closing puts the portions back.
    // Set: the lines are written at once, as shown, and the portions with the recipe.
    void conversion_storesOnlyWhenAsked_data()
    {
        QTest::addColumn<bool>("memorizza");
        QTest::addColumn<QString>("uscita");
        for (const bool memorizza : {false, true})
            for (const char *uscita : {"barra", "chiusura"})
                QTest::addRow("%s, %s", memorizza ? "set" : "clear", uscita)
                    << memorizza << QString(uscita);
    }
    void conversion_storesOnlyWhenAsked()
    {
        QFETCH(bool, memorizza);
        QFETCH(QString, uscita);
        QLocale::setDefault(QLocale("it_IT"));
        libro->riga(arrosto, farina, "3", "setacciata");
        libro->riga(arrosto, uova, "", "sbattute");
        const Righe prima = righeLibro(arrosto);
        const Righe convertite{{"Farina", "4,5", "setacciata"}, {"Uova", "", "sbattute"}};
        apri();
        if (memorizza)
            w<QCheckBox>("Check1")->click();
        convertiIn("6");
        QCOMPARE(righeGriglia(), convertite);
        QCOMPARE(righeLibro(arrosto), memorizza ? convertite : prima);
        QCOMPARE(colonna("NumeroPorzioni", arrosto).toInt(), memorizza ? 6 : 4);
        // The printout stores what was typed first and shows the lines as the grid does.
        riscrivi("txtFields_2", "Di vitello");
        SuperficieRegistrata carta;
        dialoghi->rispondiStampa(1);
        clic("cmdStampa");
        QCOMPARE(colonna("DescrizioneRicetta", arrosto).toString(), "Di vitello");
        QCOMPARE(carta.riga(0, 1, 11) + "|" + carta.riga(0, 1, 17) + "|" + carta.riga(0, 1, 18),
                 "Di vitello|Farina4,5 setacciata|Uovasbattute");
        if (uscita == "barra")
            barra("successivo");
        else
            clic("cmdChiudi");
        QCOMPARE(colonna("NumeroPorzioni", arrosto).toInt(), memorizza ? 6 : 4);
        QCOMPARE(righeLibro(arrosto), memorizza ? convertite : prima);
    }

    // "Rimp." rewrites the picked line under its own key; the grid and the book agree.
    void replace_data()
    {
        QTest::addColumn<Sostituzione>("s");
        const QStringList farinaRiga{"Farina", "200", "setacciata"}, uovaRiga{"Uova", "2", ""};
        QTest::newRow("second line")
            << Sostituzione{2, "Pepe", "3", "macinato", {farinaRiga, {"Pepe", "3", "macinato"}}};
        QTest::newRow("empty quantity and comment")
            << Sostituzione{1, "Uova", "", "", {{"Uova", "0", " "}, uovaRiga}};
        QTest::newRow("no ingredient chosen")
            << Sostituzione{1, "", "5", "x", {farinaRiga, uovaRiga}};
        QTest::newRow("no line picked")
            << Sostituzione{0, "Pepe", "5", "x", {farinaRiga, uovaRiga}};
    }
    void replace()
    {
        QFETCH(Sostituzione, s);
        const QList<QVariantList> chiavi{{libro->riga(arrosto, farina, "200", "setacciata")},
                                         {libro->riga(arrosto, uova, "2", "")}};
        apri();
        if (s.riga > 0)
            clicRiga(s.riga);
        else
            griglia()->setRow(0);
        clicVoce("ListaIngredienti", s.ingrediente);
        QCOMPARE(casella("IngredienteScelto")->text(), s.ingrediente); // one click names it
        riscrivi("Qta", s.qta);
        riscrivi("Commento", s.commento);
        const bool messaggio = s.riga > 0 && s.ingrediente.isEmpty();
        if (messaggio)
            dialoghi->rispondi(Dialogs::OK);
        clic("Command8");
        QCOMPARE(righeGriglia(), s.attese);
        QCOMPARE(righeLibro(arrosto), s.attese);
        QCOMPARE(libro->righe("SELECT IDIngredienteRicetta FROM ingredienti_ricetta ORDER BY 1"),
                 chiavi);
        QCOMPARE(casella("Qta")->text(), s.riga > 0 && !messaggio ? QString() : s.qta);
        QCOMPARE(visti(), messaggio
                              ? QStringList{"Attenzione: Non hai selezionato alcun ingrediente"}
                              : QStringList{});
    }
};

PENTOLONE_TEST_MAIN(TstPorzioni)

#include "tst_porzioni.moc"
