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
    // The topics a window asks for by context number (Dialogs::help).
    enum Argomento {
        Menu = 1,
        Ricette = 2,
        Importazione = 3,
        Categorie = 4,
        Ingredienti = 5,
        Elenco = 6,
        Ricettari = 7,
        PrimiPassi = 8,
        Cerca = 9,
        Web = 10,
        MealMaster = 11,
        Spesa = 12
    };

    // Whether a help file name is the program's help ("Pentolone.hlp" in any case of letters).
    static bool eLaGuida(const QString &file);
    // The page of a help command: the contents, or the topic of a context number.
    static QUrl pagina(int comando, int contesto);
    // Shows the one help window at that page.
    static Guida *mostra(const QUrl &pagina);

private:
    explicit Guida(QWidget *parent = nullptr);
    QTextBrowser *browser_;
};
