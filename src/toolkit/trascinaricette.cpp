#include "toolkit/trascinaricette.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDataStream>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <memory>

namespace TrascinaRicette {

QMimeData *dati(const Ricette &ricette)
{
    QByteArray b;
    QDataStream s(&b, QIODevice::WriteOnly);
    QStringList nomi;
    s << qint32(ricette.size());
    for (const auto &[chiave, nome] : ricette) {
        s << chiave << nome;
        nomi << nome;
    }
    auto *m = new QMimeData;
    m->setData(Tipo, b);
    m->setText(nomi.join(u'\n'));
    return m;
}

Ricette leggi(const QMimeData *m)
{
    if (!m || !m->hasFormat(Tipo))
        return {};
    QDataStream s(m->data(Tipo));
    qint32 n = 0;
    s >> n;
    Ricette r;
    for (qint32 i = 0; i < n && s.status() == QDataStream::Ok; ++i) {
        qint64 chiave = 0;
        QString nome;
        s >> chiave >> nome;
        if (s.status() == QDataStream::Ok)
            r.append({chiave, nome});
    }
    return r;
}

namespace {

// Watches the view's viewport. A press on a selected row is held back, so the selection stays
// for the drag; released without a drag, it is handed to the view as it came.
class Avvio : public QObject
{
public:
    Avvio(QAbstractItemView *vista, std::function<Ricette()> selezionate)
        : QObject(vista->viewport()), vista_(vista), selezionate_(std::move(selezionate))
    {
        vista->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (inoltro_)
            return false;
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto *m = static_cast<QMouseEvent *>(e);
            const QModelIndex i = vista_->indexAt(m->position().toPoint());
            if (m->button() != Qt::LeftButton || m->modifiers() != Qt::NoModifier || !i.isValid() ||
                !vista_->selectionModel()->isSelected(i))
                return false;
            premuto_.reset(m->clone());
            return true;
        }
        case QEvent::MouseMove: {
            auto *m = static_cast<QMouseEvent *>(e);
            if (!premuto_ || !(m->buttons() & Qt::LeftButton))
                return false;
            if ((m->position() - premuto_->position()).manhattanLength() <
                QApplication::startDragDistance())
                return true;
            premuto_.reset();
            const Ricette r = selezionate_();
            if (r.isEmpty())
                return true;
            auto *drag = new QDrag(vista_);
            drag->setMimeData(dati(r));
            drag->exec(Qt::CopyAction);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            if (!premuto_)
                return false;
            // A click on a selected row: the view gets it whole.
            const std::unique_ptr<QMouseEvent> premuto = std::move(premuto_);
            inoltro_ = true;
            QCoreApplication::sendEvent(vista_->viewport(), premuto.get());
            QCoreApplication::sendEvent(vista_->viewport(), e);
            inoltro_ = false;
            return true;
        }
        default:
            return false;
        }
    }

private:
    QAbstractItemView *vista_;
    std::function<Ricette()> selezionate_;
    std::unique_ptr<QMouseEvent> premuto_;
    bool inoltro_ = false;
};

} // namespace

void abilita(QAbstractItemView *vista, std::function<Ricette()> selezionate)
{
    new Avvio(vista, std::move(selezionate));
}

} // namespace TrascinaRicette
