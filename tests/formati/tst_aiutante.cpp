// The runner of the helper programs: how a run ends, and a helper that ends with the program that
// started it.
#include "caso.h"
#include "formati/aiutante.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

class TstAiutante : public QObject
{
    Q_OBJECT

private slots:
    void esito_data()
    {
        QTest::addColumn<QString>("script"); // for /bin/sh -c; empty: a program that is not there
        QTest::addColumn<QByteArray>("ingresso");
        QTest::addColumn<bool>("annulla"); // cancelled at its first line
        QTest::addColumn<int>("esito");
        QTest::addColumn<int>("codice");
        QTest::addColumn<QByteArray>("uscita");
        caso("its input back, line by line", "cat; printf fine", QByteArray("a\nb\n"), false,
             Aiutante::Riuscito, 0, QByteArray("a|b|(a\nb\nfine)"));
        caso("an exit code", "echo uno; exit 2", QByteArray(), false, Aiutante::Fallito, 2,
             QByteArray("uno|(uno\n)"));
        caso("a crash", "kill -SEGV $$", QByteArray(), false, Aiutante::Fallito, -1,
             QByteArray("()"));
        caso("not there", "", QByteArray(), false, Aiutante::Mancante, -1, QByteArray("()"));
        caso("silent past its limit", "echo via; exec sleep 600", QByteArray(), false,
             Aiutante::Scaduto, -1, QByteArray("via|(via\n)"));
        caso("cancelled", "echo via; exec sleep 600", QByteArray(), true, Aiutante::Annullato, -1,
             QByteArray("via|(via\n)"));
    }
    void esito()
    {
        QFETCH(QString, script);
        QFETCH(QByteArray, ingresso);
        QFETCH(bool, annulla);
        QFETCH(int, esito);
        QFETCH(int, codice);
        QFETCH(QByteArray, uscita);
        Aiutante figlio(QString(), {script.isEmpty() ? "/nessuno/qui" : "/bin/sh", 300}, 0);
        QByteArray visto;
        connect(&figlio, &Aiutante::riga, this, [&](const QByteArray &riga) {
            visto += riga + '|';
            if (annulla)
                figlio.annulla();
        });
        QSignalSpy fine(&figlio, &Aiutante::finito);
        figlio.avvia({"-c", script}, ingresso);
        QVERIFY(fine.wait(20000));
        QCOMPARE(fine.size(), 1);
        QCOMPARE(fine.at(0).at(0).value<Aiutante::Esito>(), Aiutante::Esito(esito));
        QCOMPARE(figlio.esito(), Aiutante::Esito(esito));
        if (esito != Aiutante::Mancante)
            QCOMPARE(figlio.codice(), codice);
        QCOMPARE(visto + '(' + figlio.uscita() + ')', uscita);
    }

    // The program killed while its helper runs: the helper does not run on, re-parented.
    void programmaUcciso_aiutanteFinisce()
    {
        QProcess programma;
        programma.start(GENITORE, {"/bin/sh", "-c", "echo $$; exec sleep 600"});
        QVERIFY(programma.waitForStarted());
        while (!programma.canReadLine())
            QVERIFY2(programma.waitForReadyRead(20000), "the helper never said who it is");
        const pid_t aiutante = programma.readLine().trimmed().toInt();
        QVERIFY(aiutante > 0);
        // Held before the kill, so the number cannot be another process's by then.
        const int pidfd = int(syscall(SYS_pidfd_open, aiutante, 0));
        QVERIFY(pidfd >= 0);
        programma.kill();
        QVERIFY(programma.waitForFinished());
        pollfd fine{pidfd, POLLIN, 0};
        const bool finito = poll(&fine, 1, 20000) == 1;
        if (!finito)
            kill(aiutante, SIGKILL);
        close(pidfd);
        QVERIFY2(finito, "the helper outlived the program that started it");
    }
};

QTEST_MAIN(TstAiutante)
#include "tst_aiutante.moc"
