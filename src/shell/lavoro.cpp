#include "shell/lavoro.h"

#include "toolkit/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

Lavoro::Lavoro(QObject *genitore) : QObject(genitore)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
}

Lavoro::~Lavoro()
{
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
}

bool Lavoro::eventFilter(QObject *oggetto, QEvent *evento)
{
    switch (evento->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Drop:
        if (auto *w = qobject_cast<QWidget *>(oggetto); w && w->window() == parent())
            return true;
        break;
    case QEvent::Shortcut:
        // The menu's shortcuts reach their actions, not a widget.
        if (auto *a = qobject_cast<QAction *>(oggetto); a && a->parent() == parent())
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(oggetto, evento);
}

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
