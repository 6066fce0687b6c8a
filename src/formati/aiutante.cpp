#include "formati/aiutante.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

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
    connect(&sveglia_, &QTimer::timeout, this, [this] { ferma(Scaduto); });
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

void Aiutante::avvia(const QStringList &argomenti, const QByteArray &ingresso)
{
    esito_ = InCorso;
    uscita_.clear();
    righeLette_ = 0;
    processo_.start(programma_, argomenti,
                    ingresso.isEmpty() ? QIODevice::ReadOnly : QIODevice::ReadWrite);
    if (!processo_.waitForStarted()) {
        esito_ = Mancante;
        // After the caller has connected to it and returned.
        QTimer::singleShot(0, this, [this] { emit finito(esito_); });
        return;
    }
    sveglia_.start(limiteTempo_);
    // Written while it runs, as it reads.
    if (!ingresso.isEmpty()) {
        processo_.write(ingresso);
        processo_.closeWriteChannel();
    }
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
    sveglia_.start(limiteTempo_);
    uscita_ += nuovo;
    for (qsizetype fine; (fine = uscita_.indexOf('\n', righeLette_)) >= 0; righeLette_ = fine + 1)
        emit riga(uscita_.sliced(righeLette_, fine - righeLette_));
}

void Aiutante::ferma(Esito perche)
{
    if (esito_ != InCorso || processo_.state() == QProcess::NotRunning)
        return;
    esito_ = perche;
    sveglia_.stop();
    processo_.kill();
    processo_.waitForFinished(-1); // terminato() tells the end, with this outcome
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
