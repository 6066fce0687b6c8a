#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// The visible part of a data control: first, previous, the caption, next, last.
class NavigationBar : public QWidget
{
    Q_OBJECT

public:
    explicit NavigationBar(QWidget *parent = nullptr);

    QString caption() const;

    // Connects the bar to a data source (anything with the four moves and CaptionChanged).
    template <class Sorgente> void attach(Sorgente *s)
    {
        connect(this, &NavigationBar::primo, s, &Sorgente::MoveFirst);
        connect(this, &NavigationBar::precedente, s, &Sorgente::MovePrevious);
        connect(this, &NavigationBar::successivo, s, &Sorgente::MoveNext);
        connect(this, &NavigationBar::ultimo, s, &Sorgente::MoveLast);
        connect(s, &Sorgente::CaptionChanged, this, &NavigationBar::setCaption);
        setCaption(s->Caption());
    }

public slots:
    void setCaption(const QString &testo);

signals:
    void primo();
    void precedente();
    void successivo();
    void ultimo();
    void MouseDown(); // a button is pressed, before its move

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    QToolButton *pulsante(const QString &nome, const QString &suggerimento, int icona);
    QLabel *caption_;
};
