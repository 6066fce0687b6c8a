#include "scripteddialogs.h"

#include <QTest>
#include <QTimer>

namespace {

// Shows nothing; its count of open ones goes down when the work's owner destroys it.
class AvanzamentoRegistrato : public Avanzamento
{
public:
    explicit AvanzamentoRegistrato(int &aperti) : aperti_(aperti) { ++aperti_; }
    ~AvanzamentoRegistrato() override { --aperti_; }
    void segna(qint64, qint64) override {}

private:
    int &aperti_;
};

} // namespace

ScriptedDialogs::ScriptedDialogs()
{
    Dialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    // A test that failed in cleanup() may drop its dialogs after the next test installed its own.
    Dialogs::uninstall(this);
}

ScriptedDialogs &ScriptedDialogs::rispondi(Risposta r)
{
    risposte_.enqueue({r, false});
    return *this;
}

ScriptedDialogs &ScriptedDialogs::rispondiSpuntando(Risposta r)
{
    risposte_.enqueue({r, true});
    return *this;
}

ScriptedDialogs &ScriptedDialogs::rispondiInput(const QString &testo)
{
    input_.enqueue(testo);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::rispondiFile(const QString &nome)
{
    file_.enqueue(nome);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::rispondiStampa(int copie)
{
    stampe_.enqueue(copie);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::rispondiAnteprima(bool stampa)
{
    anteprime_.enqueue(stampa);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::annullaAvanzamento()
{
    ++annulla_;
    return *this;
}

void ScriptedDialogs::premiAnnulla()
{
    for (const QPointer<Avanzamento> &a : std::as_const(avanzamenti_))
        if (a)
            emit a->annullato();
}

bool ScriptedDialogs::attendiAvanzamenti(int limite)
{
    return QTest::qWaitFor([this] { return aperti_ == 0; }, limite);
}

QList<ScriptedDialogs::Chiamata> ScriptedDialogs::di(const QString &tipo) const
{
    QList<Chiamata> r;
    for (const Chiamata &c : chiamate)
        if (c.tipo == tipo)
            r << c;
    return r;
}

QStringList ScriptedDialogs::visti() const
{
    QStringList r;
    for (const Chiamata &c : messaggi())
        r << c.titolo + ": " + c.testo;
    return r;
}

bool ScriptedDialogs::tutteUsate() const
{
    return risposte_.isEmpty() && input_.isEmpty() && file_.isEmpty() && stampe_.isEmpty() &&
           anteprime_.isEmpty() && annulla_ == 0;
}

static void inatteso(const QString &cosa)
{
    QTest::qFail(qPrintable(QStringLiteral("unexpected dialog: ") + cosa), __FILE__, __LINE__);
}

Dialogs::Risposta ScriptedDialogs::messageBox(const QString &testo, Pulsanti pulsanti,
                                              const QString &titolo, Icona icona)
{
    bool spuntata = false;
    return messageBox(testo, pulsanti, titolo, icona, QString(), spuntata);
}

Dialogs::Risposta ScriptedDialogs::messageBox(const QString &testo, Pulsanti pulsanti,
                                              const QString &titolo, Icona icona,
                                              const QString &casella, bool &spuntata)
{
    Chiamata c{"messaggio", testo, titolo, pulsanti, icona};
    c.casella = casella;
    chiamate << c;
    spuntata = false;
    if (allaComparsa)
        allaComparsa();
    if (risposte_.isEmpty()) {
        inatteso(titolo + ": " + testo);
        return pulsanti == SiNo || pulsanti == SiNoAnnulla ? No : OK;
    }
    const auto [r, spunta] = risposte_.dequeue();
    if (spunta && casella.isEmpty())
        inatteso(QStringLiteral("a tick for a box without one: ") + titolo);
    spuntata = spunta;
    return r;
}

QString ScriptedDialogs::inputBox(const QString &prompt, const QString &titolo,
                                  const QString &predefinito, bool largo)
{
    Chiamata c{"input", prompt, titolo};
    c.predefinito = predefinito;
    c.largo = largo;
    chiamate << c;
    if (input_.isEmpty()) {
        inatteso(titolo + ": " + prompt);
        return QString();
    }
    return input_.dequeue();
}

QString ScriptedDialogs::openFile(const QString &titolo, const QString &filtro,
                                  const QString &nomeAttuale, bool perNuovo)
{
    Q_UNUSED(filtro)
    Chiamata c{"file", nomeAttuale, titolo};
    c.perNuovo = perNuovo;
    chiamate << c;
    if (file_.isEmpty()) {
        inatteso(QStringLiteral("file ") + titolo);
        return QString();
    }
    return file_.dequeue();
}

int ScriptedDialogs::printDialog(int copie, const QString &documento)
{
    chiamate << Chiamata{"stampa", QString::number(copie), documento};
    if (stampe_.isEmpty()) {
        inatteso(QStringLiteral("stampa"));
        return 0;
    }
    return stampe_.dequeue();
}

bool ScriptedDialogs::printPreview(const QString &documento, const std::function<void()> &disegna)
{
    chiamate << Chiamata{"anteprima", documento};
    if (anteprime_.isEmpty()) {
        inatteso(QStringLiteral("anteprima"));
        return false;
    }
    disegna();
    return anteprime_.dequeue();
}

std::unique_ptr<Avanzamento> ScriptedDialogs::avanzamento(const QString &testo,
                                                          const QString &titolo, int ritardo)
{
    Q_UNUSED(ritardo)
    chiamate << Chiamata{"avanzamento", testo, titolo};
    auto a = std::make_unique<AvanzamentoRegistrato>(aperti_);
    avanzamenti_ << a.get();
    // Pressed once the work has started and the event loop runs, as a user would.
    if (annulla_ > 0) {
        --annulla_;
        QTimer::singleShot(0, a.get(), [p = a.get()] { emit p->annullato(); });
    }
    return a;
}

void ScriptedDialogs::beep()
{
    chiamate << Chiamata{"beep"};
}

void ScriptedDialogs::help(const QString &file, int comando, int contesto)
{
    Chiamata c{"guida", file};
    c.comando = comando;
    c.contesto = contesto;
    chiamate << c;
}

void ScriptedDialogs::openUrl(const QString &indirizzo)
{
    chiamate << Chiamata{"web", indirizzo};
}
