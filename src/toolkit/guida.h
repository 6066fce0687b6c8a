#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

// The help: Italian pages compiled into the program, shown in a window of their own with
// contents, back and forward.
class Guida : public QWidget
{
    Q_OBJECT

public:
    // Whether a help file name is the program's help ("Pentolone.hlp" in any case of letters).
    static bool eLaGuida(const QString &file);
    // The page of a help command: the contents, or the topic of a context number.
    static QUrl pagina(int comando, int contesto);
    // Shows the one help window at that page.
    static Guida *mostra(const QUrl &pagina);

    QUrl paginaAttuale() const;

private:
    explicit Guida(QWidget *parent = nullptr);
    QTextBrowser *browser_;
};
