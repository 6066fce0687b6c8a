#pragma once

#include "toolkit/dialogs.h"

#include <QList>
#include <QPointer>
#include <QQueue>
#include <functional>

// Answers the program's dialogs from queues and records every call word for word.
// A dialog with no answer queued fails the running test at once and is answered harmlessly.
class ScriptedDialogs : public Dialogs
{
public:
    struct Chiamata
    {
        // "messaggio", "input", "file", "stampa", "anteprima", "avanzamento", "beep", "guida",
        // "web"
        QString tipo;
        QString testo = {};
        QString titolo = {};
        int pulsanti = 0;
        int icona = 0;
        int comando = 0;
        int contesto = 0;
        bool perNuovo = false;
        QString predefinito = {}; // an input box's proposed text
        QString casella = {};     // a message box's tick box
        bool largo = false;       // an input box as wide as allowed
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    ScriptedDialogs &rispondi(Risposta r);
    // The answer to a box with a tick box, given with the box ticked.
    ScriptedDialogs &rispondiSpuntando(Risposta r);
    ScriptedDialogs &rispondiInput(const QString &testo);
    ScriptedDialogs &rispondiFile(const QString &nome);
    ScriptedDialogs &rispondiStampa(int copie);
    ScriptedDialogs &rispondiAnteprima(bool stampa);
    // The next progress window's "Annulla" is pressed as soon as it shows. A progress window
    // asks nothing: without this, the work it shows runs to its end.
    ScriptedDialogs &annullaAvanzamento();
    // "Annulla" pressed now in every progress window still open.
    void premiAnnulla();

    // Progress windows shown and not yet gone: 0 once the works they show have ended.
    int avanzamentiAperti() const { return aperti_; }
    // Runs the event loop until no progress window is left, at most limite ms (a fault).
    bool attendiAvanzamenti(int limite = 60000);

    QList<Chiamata> chiamate;
    // Run as each message box shows, before it is answered: to look at what stands around it.
    std::function<void()> allaComparsa;
    QList<Chiamata> di(const QString &tipo) const;
    QList<Chiamata> messaggi() const { return di(QStringLiteral("messaggio")); }
    // The message boxes shown, word for word, as "title: text".
    QStringList visti() const;
    bool tutteUsate() const;

    Risposta messageBox(const QString &testo, Pulsanti pulsanti, const QString &titolo,
                        Icona icona) override;
    Risposta messageBox(const QString &testo, Pulsanti pulsanti, const QString &titolo, Icona icona,
                        const QString &casella, bool &spuntata) override;
    QString inputBox(const QString &prompt, const QString &titolo, const QString &predefinito,
                     bool largo = false) override;
    QString openFile(const QString &titolo, const QString &filtro, const QString &nomeAttuale,
                     bool perNuovo) override;
    int printDialog(int copie, const QString &documento = QString()) override;
    // Draws what the preview would show, then answers: print, or close.
    bool printPreview(const QString &documento, const std::function<void()> &disegna) override;
    std::unique_ptr<Avanzamento> avanzamento(const QString &testo, const QString &titolo,
                                             int ritardo = 0) override;
    void beep() override;
    void help(const QString &file, int comando, int contesto) override;
    void openUrl(const QString &indirizzo) override;

private:
    QQueue<std::pair<Risposta, bool>> risposte_; // the answer, and whether it ticks the box
    QQueue<QString> input_;
    QList<QPointer<Avanzamento>> avanzamenti_;
    QQueue<QString> file_;
    QQueue<int> stampe_;
    QQueue<bool> anteprime_;
    int annulla_ = 0; // progress windows still to be cancelled
    int aperti_ = 0;
};
