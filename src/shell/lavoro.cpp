#include "shell/lavoro.h"

#include "toolkit/dialogs.h"

#include <QPointer>
#include <QTimer>

Lavoro::Lavoro(QObject *genitore) : QObject(genitore) {}

Lavoro::~Lavoro() = default;

Avanzamento &Lavoro::mostraAvanzamento(const QString &testo, const QString &titolo, int ritardo)
{
    avanzamento_ = dialogs().avanzamento(testo, titolo, ritardo);
    connect(avanzamento_.get(), &Avanzamento::annullato, this, &Lavoro::annullato);
    return *avanzamento_;
}

void Lavoro::termina(std::function<void()> poi)
{
    if (std::exchange(terminato_, true))
        return;
    QTimer::singleShot(0, parent(), [lavoro = QPointer<Lavoro>(this), poi = std::move(poi)] {
        delete lavoro;
        poi();
    });
}
