#pragma once

#include <QObject>
#include <QString>

namespace Ui {
class Ricette;
}
class DataSource;
class QLineEdit;
class QWidget;
class RigheIngredienti;

// The recipe converted to another number of portions ("Trasforma in n° porzioni"): the
// portions box and the lines' quantities change together. With "Memorizza le variazioni" ticked
// both are stored at once; without it the conversion is only shown, and the portions go back to
// what the book holds before the cook leaves the recipe.
class ConversionePorzioni : public QObject
{
    Q_OBJECT

public:
    // ricetta: the recipe's set, which the portions box is bound to.
    ConversionePorzioni(QWidget *finestra, Ui::Ricette &ui, RigheIngredienti &righe,
                        DataSource *ricetta, QLineEdit *porzioni);

    void trasforma(); // to the portions typed beside the button
    void ricorda();   // the portions as this move shows them, as the book holds them
    void rimetti();   // unless stored, the portions as they were at the last move

private:
    QWidget *finestra_;
    Ui::Ricette &ui;
    RigheIngredienti &righe_;
    DataSource *ricetta_;
    QLineEdit *porzioni_;
    QString memorizzate_; // the portions as the last move showed them
};
