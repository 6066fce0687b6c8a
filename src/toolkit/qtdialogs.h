#pragma once

#include "toolkit/dialogs.h"

class QPrinter;
class QWidget;

// The dialogs the user sees: Qt's own, in Italian.
class QtDialogs : public Dialogs
{
public:
    Risposta messageBox(const QString &testo, Pulsanti pulsanti, const QString &titolo,
                        Icona icona) override;
    Risposta messageBox(const QString &testo, Pulsanti pulsanti, const QString &titolo, Icona icona,
                        const QString &casella, bool &spuntata) override;
    QString inputBox(const QString &prompt, const QString &titolo, const QString &predefinito,
                     bool largo = false) override;
    QString openFile(const QString &titolo, const QString &filtro, const QString &nomeAttuale,
                     bool perNuovo) override;
    int printDialog(int copie, const QString &documento = QString()) override;
    std::unique_ptr<Avanzamento> avanzamento(const QString &testo, const QString &titolo,
                                             int ritardo = 0) override;
    bool printPreview(const QString &documento, const std::function<void()> &disegna) override;
    void beep() override;
    void help(const QString &file, int comando, int contesto) override;
    void openUrl(const QString &indirizzo) override;

    // The printer the print dialog set up, for the print surface.
    static QPrinter &stampante();

    // How wide a window must be for its title to show whole in its frame.
    static int larghezzaPerIlTitolo(const QWidget &finestra);

    // "Ricette |*.mdb" in Qt's form: "Ricette (*.mdb)".
    static QString filtroQt(const QString &filtro);
};
