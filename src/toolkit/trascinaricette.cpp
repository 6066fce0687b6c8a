#include "toolkit/trascinaricette.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDataStream>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

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

// Watches the view's viewport. Inside the list the mouse selects as it always did; pressed on a
// row and carried out of the list, it drags what is selected then.
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
            premuto_ =
                m->button() == Qt::LeftButton && vista_->indexAt(m->position().toPoint()).isValid();
            dove_ = m->position();
            return false;
        }
        case QEvent::MouseMove: {
            auto *m = static_cast<QMouseEvent *>(e);
            if (!premuto_ || !(m->buttons() & Qt::LeftButton) ||
                vista_->viewport()->rect().contains(m->position().toPoint()))
                return false;
            premuto_ = false;
            const Ricette r = selezionate_();
            if (r.isEmpty())
                return false;
            auto *drag = new QDrag(vista_);
            drag->setMimeData(dati(r));
            drag->exec(Qt::CopyAction);
            // The release went to the drop: the view is told the button is up, on the row it went
            // down on. With Shift held, a view leaves its selection as it is at a release: what
            // was dragged stays selected.
            QMouseEvent rilascio(QEvent::MouseButtonRelease, dove_,
                                 vista_->viewport()->mapToGlobal(dove_), Qt::LeftButton,
                                 Qt::NoButton, Qt::ShiftModifier);
            inoltro_ = true;
            QCoreApplication::sendEvent(vista_->viewport(), &rilascio);
            inoltro_ = false;
            return true;
        }
        case QEvent::MouseButtonRelease:
            premuto_ = false;
            return false;
        default:
            return false;
        }
    }

private:
    QAbstractItemView *vista_;
    std::function<Ricette()> selezionate_;
    bool premuto_ = false; // the left button went down on a row
    QPointF dove_;         // where
    bool inoltro_ = false;
};

} // namespace

void abilita(QAbstractItemView *vista, std::function<Ricette()> selezionate)
{
    new Avvio(vista, std::move(selezionate));
}

} // namespace TrascinaRicette
