#pragma once

#include "formati/aiutante.h"
#include "formati/rifiuto.h"

#include <QObject>

// What the readers that go through a helper program share (a page's recipes, a book converted):
// the helper's run, its cancel, and one end told once, with rifiutata() here or the reader's own
// signal for what it read.
//
// Rules: owned by whoever started it, on that thread; destroyed while the helper runs, it kills
// it. Its owner destroys it from the event loop, never from inside its signals.
class Lettura : public QObject
{
    Q_OBJECT

public:
    // The helper is stopped: rifiutata() with annullato set. Nothing once it has ended.
    void annulla();

signals:
    void rifiutata(const Rifiuto &rifiuto);

protected:
    // nome, opzioni, limite: the helper's, as Aiutante takes them.
    Lettura(const QString &nome, const Aiutante::Opzioni &opzioni, int limite, QObject *genitore);

    void avviaAiutante(const QStringList &argomenti, const QByteArray &ingresso = {});
    // A refusal found before the helper starts, told once the caller has returned.
    void rifiutaDopo(const QString &testo);
    // Refuses, unless the reading has already ended.
    void rifiuta(const Rifiuto &rifiuto);
    // The reading ends now: true the first time, when the reader tells its end.
    bool finisce();
    // The helper's end; Riuscito left to the reader, the others worded with the texts given.
    virtual void terminato(Aiutante::Esito esito) = 0;
    bool inCorso() const { return inCorso_; }

    Aiutante figlio_;

private:
    bool inCorso_ = false;
};
