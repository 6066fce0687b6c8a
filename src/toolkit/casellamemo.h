#pragma once

#include <QEvent>
#include <QObject>
#include <QPlainTextEdit>
#include <QTextBlock>

// The text of a multi-line box as a book keeps it: lines end with a carriage return and a line
// feed, as the print layout and older books expect, where the box itself uses line feeds only.
// A data source binds to this instead of the box.
//
// Qt lays a paragraph out whole, again at every resize and key: one of megabytes takes seconds.
// So a long paragraph is shown cut into pieces at spaces, each piece after the first starting
// with an invisible word joiner. The mark travels with the text through typing, deleting and
// undo, so reading joins exactly the cuts still there; an Enter the user types stays a line.
class CasellaMemo : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText USER true)

public:
    explicit CasellaMemo(QPlainTextEdit *casella) : QObject(casella), casella_(casella)
    {
        casella_->installEventFilter(this);
    }

    QString text() const
    {
        // The raw text keeps the non-breaking spaces the plain one turns into spaces.
        QString t = casella_->document()->toRawText();
        if (tagliato_)
            t.remove(QString(QChar::ParagraphSeparator) + Segno).remove(Segno);
        return t.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"))
            .replace(QChar::LineSeparator, QLatin1String("\r\n"));
    }
    void setText(const QString &t)
    {
        // A text that holds the mark itself is shown whole, so that nothing of it is taken.
        tagliato_ = !t.contains(Segno);
        sostituisci(tagliato_ ? tagliata(t) : t);
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o == casella_ && e->type() == QEvent::Show && inizioDaMostrare_)
            mostraInizio();
        return false;
    }

private:
    // The box's own setPlainText lays the text out at once, shown or not, and twice (Qt
    // measures a paragraph that replaces a paragraph before and after laying it out); a move
    // between recipes fills four boxes, three on hidden tabs. A change in the number of
    // paragraphs only marks them to be laid out when shown.
    void sostituisci(const QString &t)
    {
        QTextDocument *d = casella_->document();
        const bool annullabile = d->isUndoRedoEnabled();
        d->setUndoRedoEnabled(false); // no undoing into the text another recipe had
        QTextCursor c(d);
        {
            // No one hears of the paragraph added meanwhile (the box would lay the old text out
            // again to size its scroll bar), nor is the caret placed.
            const QSignalBlocker zitto(d), zittoAnche(d->documentLayout());
            c.beginEditBlock();
            c.insertBlock();
            c.endEditBlock();
        }
        // The last paragraph is the one that remains: its glyphs are kept from the layout for
        // the caret and the paint.
        d->lastBlock().layout()->setCacheEnabled(true);
        c.beginEditBlock();
        c.setPosition(0);
        c.setPosition(d->characterCount() - 1, QTextCursor::KeepAnchor);
        c.insertText(t);
        c.endEditBlock();
        d->setUndoRedoEnabled(annullabile);
        // Caret and view at the start, as setPlainText leaves them; a hidden box's once shown.
        inizioDaMostrare_ = !casella_->isVisible();
        if (!inizioDaMostrare_)
            mostraInizio();
    }
    void mostraInizio()
    {
        inizioDaMostrare_ = false;
        casella_->setTextCursor(QTextCursor(casella_->document()));
    }

    static constexpr QChar Segno{0x2060};
    static constexpr qsizetype Pezzo = 4000;

    static bool aCapo(QChar c)
    {
        return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator;
    }

    static QString tagliata(const QString &t)
    {
        QString r;
        qsizetype copiato = 0, riga = 0;
        for (qsizetype i = 0; i < t.size(); ++i) {
            if (aCapo(t.at(i)))
                riga = i + 1;
            if (i - riga < Pezzo)
                continue;
            // After the last space of the piece's second half, else anywhere but inside a
            // surrogate pair.
            const qsizetype meta = riga + Pezzo / 2;
            const qsizetype spazio = QStringView(t).mid(meta, i - meta).lastIndexOf(u' ');
            const qsizetype taglio = spazio >= 0                ? meta + spazio + 1
                                     : t.at(i).isLowSurrogate() ? i - 1
                                                                : i;
            r.append(QStringView(t).mid(copiato, taglio - copiato)).append(u'\n').append(Segno);
            copiato = riga = taglio;
        }
        if (copiato == 0)
            return t;
        return r.append(QStringView(t).mid(copiato));
    }

    QPlainTextEdit *casella_;
    bool tagliato_ = false;
    bool inizioDaMostrare_ = false; // the caret goes to the start when the box is shown
};
