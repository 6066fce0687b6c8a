#pragma once

#include <QObject>
#include <QPlainTextEdit>

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
    explicit CasellaMemo(QPlainTextEdit *casella) : QObject(casella), casella_(casella) {}

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
        casella_->setPlainText(tagliato_ ? tagliata(t) : t);
    }

private:
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
};
