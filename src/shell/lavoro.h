#pragma once

#include "toolkit/avanzamento.h"

#include <QObject>
#include <functional>
#include <memory>

// One work of the main window that goes on while the program answers: a page fetched and read, a
// book converted. Its parts (the fetch, the helper's run) are its children, with its progress
// window.
//
// Rules: owned by the main window, on its thread. It ends once: termina() destroys it from the
// event loop, after its parts have returned from the signal that told the end (they may be inside
// it now), so the progress window is gone before the continuation shows anything. While it lives
// the main window takes no input (its progress window may not be shown yet): a click or a key
// there would start another command over a book about to change.
class Lavoro : public QObject
{
    Q_OBJECT

public:
    explicit Lavoro(QObject *genitore);
    ~Lavoro() override;

    // The progress window, shown after ritardo ms; its "Annulla" is annullato().
    Avanzamento &mostraAvanzamento(const QString &testo, const QString &titolo, int ritardo = 0);
    // The work is over: everything goes, then poi() runs. Nothing the second time.
    void termina(std::function<void()> poi);

signals:
    void annullato();

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    std::unique_ptr<Avanzamento> avanzamento_;
    bool terminato_ = false;
};
