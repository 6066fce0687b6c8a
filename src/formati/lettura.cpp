#include "formati/lettura.h"

#include <QTimer>
#include <utility>

Lettura::Lettura(const QString &nome, const Aiutante::Opzioni &opzioni, int limite,
                 QObject *genitore)
    : QObject(genitore), figlio_(nome, opzioni, limite)
{
    connect(&figlio_, &Aiutante::finito, this, [this](Aiutante::Esito esito) {
        if (inCorso_)
            terminato(esito);
    });
}

void Lettura::avviaAiutante(const QStringList &argomenti, const QByteArray &ingresso)
{
    inCorso_ = true;
    figlio_.avvia(argomenti, ingresso);
}

void Lettura::rifiutaDopo(const QString &testo)
{
    inCorso_ = true;
    QTimer::singleShot(0, this, [this, testo] { rifiuta({false, testo}); });
}

void Lettura::annulla()
{
    figlio_.annulla(); // kills a helper that runs: its end is this cancel
    rifiuta({true, QString()});
}

void Lettura::rifiuta(const Rifiuto &rifiuto)
{
    if (finisce())
        emit rifiutata(rifiuto);
}

bool Lettura::finisce()
{
    return std::exchange(inCorso_, false);
}
