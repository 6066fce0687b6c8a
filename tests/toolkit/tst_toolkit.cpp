#include "dialogs.h"
#include "guida.h"
#include "maiuscole.h"
#include "qtdialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

class TstToolkit : public QObject
{
    Q_OBJECT

private slots:
    void ruleOfCapitals_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("plain") << "pasta"
                               << "Pasta";
        QTest::newRow("one letter") << "s"
                                    << "S";
        QTest::newRow("rest untouched") << "olio d'OLIVA"
                                        << "Olio d'OLIVA";
        QTest::newRow("accented") << "èrba cipollina"
                                  << "Èrba cipollina";
        QTest::newRow("leading blank") << " pasta"
                                       << " pasta";
        QTest::newRow("apostrophe first") << "'nduja"
                                          << "'nduja";
        QTest::newRow("empty") << ""
                               << "";
    }
    void ruleOfCapitals()
    {
        QFETCH(QString, nome);
        QFETCH(QString, atteso);
        QCOMPARE(maiuscolaIniziale(nome), atteso);
    }

    void helpFileName_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("guida");
        QTest::newRow("main window") << "Pentolone.hlp" << true;
        QTest::newRow("editor") << "Pentolone.HLP" << true;
        QTest::newRow("windows folder") << "C:\\Programmi\\Pentolone.hlp" << true;
        QTest::newRow("other") << "Altro.hlp" << false;
    }
    void helpFileName()
    {
        QFETCH(QString, file);
        QFETCH(bool, guida);
        QCOMPARE(Guida::eLaGuida(file), guida);
    }

    void helpPages_openByCommand_data()
    {
        QTest::addColumn<int>("comando");
        QTest::addColumn<int>("contesto");
        QTest::addColumn<QString>("pagina");
        QTest::newRow("contents") << 3 << 0 << "indice.html";
        QTest::newRow("editor") << 1 << 2 << "ricette.html";
        QTest::newRow("import") << 1 << 3 << "importazione.html";
        QTest::newRow("unknown context") << 1 << 99 << "indice.html";
    }
    void helpPages_openByCommand()
    {
        QFETCH(int, comando);
        QFETCH(int, contesto);
        QFETCH(QString, pagina);
        Guida *g = Guida::mostra(Guida::pagina(comando, contesto));
        QCOMPARE(g->paginaAttuale().fileName(), pagina);
        auto *browser = g->findChild<QTextBrowser *>("browser");
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

    void italianTranslation_givesSiAndNo()
    {
        QVERIFY(installaTraduzioneItaliana());
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QString("Sì"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove('&'), QString("No"));
    }
};

QTEST_MAIN(TstToolkit)
#include "tst_toolkit.moc"
