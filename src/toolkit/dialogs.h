#pragma once

#include "toolkit/avanzamento.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The one door for every modal exchange with the user: message and input boxes, file and print
// dialogs, progress windows, the beep, help and web links. The program installs the Qt
// implementation; tests install a scripted one.
class Dialogs
{
public:
    // Buttons and icons of a message box, with the values the windows were written with.
    enum Pulsanti { SoloOK = 0, SiNoAnnulla = 3, SiNo = 4 };
    enum Icona {
        NessunaIcona = 0,
        Critica = 16,
        Domanda = 32,
        Esclamazione = 48,
        Informazione = 64
    };
    enum Risposta { OK = 1, Annulla = 2, Si = 6, No = 7 };
    // Help commands: a topic by its context number, or the contents.
    enum ComandoGuida { Argomento = 1, Sommario = 3 };

    virtual ~Dialogs() = default;

    virtual Risposta messageBox(const QString &testo, Pulsanti pulsanti, const QString &titolo,
                                Icona icona) = 0;
    // The same with a tick box under the text, labelled casella; spuntata tells whether the
    // user ticked it. One without such boxes asks without it, and nothing is ticked.
    virtual Risposta messageBox(const QString &testo, Pulsanti pulsanti, const QString &titolo,
                                Icona icona, const QString &casella, bool &spuntata);
    // Empty when cancelled. A wide one (for a web address) is as wide as the program's input
    // boxes may be: two thirds of the screen.
    virtual QString inputBox(const QString &prompt, const QString &titolo,
                             const QString &predefinito, bool largo = false) = 0;
    // The chosen file, empty when cancelled. With perNuovo the file need not exist yet.
    virtual QString openFile(const QString &titolo, const QString &filtro,
                             const QString &nomeAttuale, bool perNuovo = false) = 0;
    // The number of copies, or 0 when cancelled. documento names what is printed: printed to
    // a PDF file, it is proposed as the file's name.
    virtual int printDialog(int copie, const QString &documento = QString()) = 0;
    // Shows the pages that disegna prints on the printer the print dialog sets up, as that
    // printer will get them; true when the user asks to print them.
    virtual bool printPreview(const QString &documento, const std::function<void()> &disegna) = 0;
    // The progress window of a work that goes on while the program answers: over the window the
    // user is in and modal to it, shown after ritardo ms (at once for 0), gone when destroyed.
    virtual std::unique_ptr<Avanzamento> avanzamento(const QString &testo, const QString &titolo,
                                                     int ritardo = 0) = 0;
    virtual void beep() = 0;
    virtual void help(const QString &file, int comando, int contesto) = 0;
    virtual void openUrl(const QString &indirizzo) = 0;

    // The one installed; a program that installed none stops with a message (a programming error).
    static Dialogs &instance();
    static void install(Dialogs *d);   // not owned
    static void uninstall(Dialogs *d); // only when d is the one installed

    // The title of a message box that names none.
    static QString titoloPredefinito();
};

// Shorthand used by the windows.
inline Dialogs &dialogs()
{
    return Dialogs::instance();
}

// The lines of one message, joined as the messages are written: carriage return and line feed.
inline QString righe(const QStringList &r)
{
    return r.join(QStringLiteral("\r\n"));
}

// Loads Qt's Italian translation, so standard buttons read "Sì", "No", "Annulla", with the few
// words of the file dialog that it lacks.
bool installaTraduzioneItaliana();

// The locale the program starts with: the user's, or Italian (Italy) on a system that names
// none (C or POSIX), where dates and the names of files would otherwise be in English.
QLocale localeDelProgramma(const QLocale &sistema);
