#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

// One run of a helper program (pentolone-web, pentolone-jet), which reads an untrusted file in a
// process of its own: started, fed its standard input, its standard output read as it comes, and
// killed on a cancel or when it stays silent longer than its limit.
//
// Rules: the object that starts a helper owns it, on the thread that made it, and never outlives
// it: destroyed while the helper runs, it kills it and waits for its end. The helper dies with
// the program too (the kernel kills it when the thread that started it ends, PR_SET_PDEATHSIG),
// so a crash or a kill of the program never leaves one running on. Nothing it does crosses the
// event loop as an exception: the outcome is a value (esito()), each reader words it.
class Aiutante : public QObject
{
    Q_OBJECT

public:
    // What a caller (a test, a benchmark) may choose; the readers' own values otherwise.
    struct Opzioni
    {
        QString programma;   // empty: the installed helper, beside the running program
        int limiteTempo = 0; // how long it may stay silent, in ms; 0: the reader's own
    };
    enum Esito {
        InCorso,
        Riuscito, // ended by itself, exit code 0
        Fallito,  // crashed, or ended with another code (codice())
        Mancante, // could not be started
        Annullato,
        Scaduto, // silent longer than the limit
    };

    // nome: the helper's file name; limitePredefinito: the reader's own limit, in ms.
    Aiutante(const QString &nome, const Opzioni &opzioni, int limitePredefinito,
             QObject *genitore = nullptr);
    ~Aiutante() override;

    // Starts the helper and hands it ingresso on its standard input, then closes it; finito()
    // tells its end, with the event loop running.
    void avvia(const QStringList &argomenti, const QByteArray &ingresso = {});
    // Kills the helper; the outcome is Annullato. Nothing when none runs.
    void annulla();

    Esito esito() const { return esito_; }
    // Its exit code; -1 when a signal ended it.
    int codice() const
    {
        return processo_.exitStatus() == QProcess::NormalExit ? processo_.exitCode() : -1;
    }
    // All it wrote on its standard output.
    const QByteArray &uscita() const { return uscita_; }
    // The helper's file name, and its limit, for the readers' messages.
    QString nome() const;
    int limiteTempo() const { return limiteTempo_; }

signals:
    // Each line of its output as it comes, without its end of line.
    void riga(const QByteArray &riga);
    void finito(Aiutante::Esito esito);

private:
    void leggi();
    void ferma(Esito perche);
    void terminato();

    QString programma_;
    int limiteTempo_;
    QProcess processo_;
    QByteArray uscita_;
    qsizetype righeLette_ = 0; // where the next line starts in uscita_
    QTimer sveglia_;           // the limit of silence, restarted by each output
    Esito esito_ = InCorso;
};
