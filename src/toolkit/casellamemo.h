#pragma once

#include <QObject>
#include <QPlainTextEdit>

// The text of a multi-line box as a book keeps it: lines end with a carriage return and a line
// feed, as the print layout and older books expect, where the box itself uses line feeds only.
// A data source binds to this instead of the box.
class CasellaMemo : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText USER true)

public:
    explicit CasellaMemo(QPlainTextEdit *casella) : QObject(casella), casella_(casella) {}

    QString text() const
    {
        return casella_->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    }
    void setText(const QString &t) { casella_->setPlainText(t); }

private:
    QPlainTextEdit *casella_;
};
