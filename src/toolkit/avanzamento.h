#pragma once

#include <QObject>

// The progress of a long work that goes on while the program keeps answering (a page fetched, a
// book converted): a window over the one the user is in, modal to it, with "Annulla". It is
// shown by Dialogs (a test's double presses "Annulla" for the user) and goes when destroyed; the
// work's owner holds it for the work's length.
class Avanzamento : public QObject
{
    Q_OBJECT

public:
    // Done of totale; a totale of 0 or less is not known yet.
    virtual void segna(qint64 fatti, qint64 totale) = 0;

signals:
    // "Annulla", Escape or the window closed: the owner stops the work and destroys this.
    void annullato();
};
