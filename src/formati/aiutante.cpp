#include "formati/aiutante.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// Between two looks at the helper while waiting for it: how soon a cancel is seen.
constexpr int Passo = 50;

} // namespace

Aiutante::Aiutante(const QString &nome, const Opzioni &opzioni, int limitePredefinito,
                   QObject *genitore)
    : QObject(genitore),
      programma_(opzioni.programma.isEmpty() ? QCoreApplication::applicationDirPath() + u'/' + nome
                                             : opzioni.programma),
      limiteTempo_(opzioni.limiteTempo > 0 ? opzioni.limiteTempo : limitePredefinito)
{
    processo_.setStandardErrorFile(QProcess::nullDevice());
    // In the child, between fork and exec: only async-signal-safe calls. A parent gone before
    // the request took effect is seen as a new parent.
    const pid_t genitorePid = getpid();
    processo_.setChildProcessModifier([genitorePid] {
        if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != genitorePid)
            _exit(127);
    });
    connect(&processo_, &QProcess::readyReadStandardOutput, this, &Aiutante::leggi);
    connect(&processo_, &QProcess::finished, this, &Aiutante::terminato);
    sveglia_.setSingleShot(true);
    connect(&sveglia_, &QTimer::timeout, this, [this] {
        if (scadenza_.hasExpired())
            ferma(Scaduto);
        else
            sveglia_.start(int(scadenza_.remainingTime()));
    });
}

Aiutante::~Aiutante()
{
    if (processo_.state() != QProcess::NotRunning) {
        processo_.disconnect(this);
        processo_.kill();
        processo_.waitForFinished(-1);
    }
}

QString Aiutante::nome() const
{
    return QFileInfo(programma_).fileName();
}

void Aiutante::parti(const QStringList &argomenti, const QByteArray &ingresso)
{
    esito_ = InCorso;
    uscita_.clear();
    righeLette_ = 0;
    processo_.start(programma_, argomenti,
                    ingresso.isEmpty() ? QIODevice::ReadOnly : QIODevice::ReadWrite);
    if (!processo_.waitForStarted()) {
        esito_ = Mancante;
        return;
    }
    scadenza_.setRemainingTime(limiteTempo_);
    // Written while it runs, as it reads.
    if (!ingresso.isEmpty()) {
        processo_.write(ingresso);
        processo_.closeWriteChannel();
    }
}

void Aiutante::avvia(const QStringList &argomenti, const QByteArray &ingresso)
{
    parti(argomenti, ingresso);
    if (esito_ == Mancante) {
        // After the caller has connected to it and returned.
        QTimer::singleShot(0, this, [this] { emit finito(esito_); });
        return;
    }
    sveglia_.start(limiteTempo_);
}

Aiutante::Esito Aiutante::esegui(const QStringList &argomenti, const QByteArray &ingresso,
                                 const std::function<bool()> &continua)
{
    parti(argomenti, ingresso);
    // The waits read its output and write its input as they go.
    while (esito_ == InCorso) {
        const bool inCorso =
            !processo_.waitForFinished(Passo) && processo_.state() != QProcess::NotRunning;
        // Once more after the end, so the caller sees the last of the output.
        if (continua && !continua())
            ferma(Annullato);
        else if (inCorso && scadenza_.hasExpired())
            ferma(Scaduto);
    }
    return esito_;
}

void Aiutante::annulla()
{
    ferma(Annullato);
}

void Aiutante::leggi()
{
    const QByteArray nuovo = processo_.readAllStandardOutput();
    if (nuovo.isEmpty())
        return;
    scadenza_.setRemainingTime(limiteTempo_);
    uscita_ += nuovo;
    for (qsizetype fine; (fine = uscita_.indexOf('\n', righeLette_)) >= 0; righeLette_ = fine + 1)
        emit riga(uscita_.sliced(righeLette_, fine - righeLette_));
}

// Also after the helper's end: a cancel seen then still wins over what it wrote.
void Aiutante::ferma(Esito perche)
{
    if (esito_ == Mancante || esito_ == Annullato || esito_ == Scaduto)
        return;
    esito_ = perche;
    sveglia_.stop();
    if (processo_.state() != QProcess::NotRunning) {
        processo_.kill();
        processo_.waitForFinished(-1); // terminato() tells the end, with this outcome
    }
}

void Aiutante::terminato()
{
    leggi();
    sveglia_.stop();
    if (esito_ == InCorso)
        esito_ = processo_.exitStatus() == QProcess::NormalExit && processo_.exitCode() == 0
                     ? Riuscito
                     : Fallito;
    emit finito(esito_);
}
