#pragma once

#include "editor/ricette.h"
#include "libro.h"
#include "scripteddialogs.h"
#include "storage/datasource.h"
#include "toolkit/applicazione.h"
#include "toolkit/flexgrid.h"
#include "toolkit/navigationbar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

// What every editor test needs: a fresh book, scripted dialogs, the window opened on the book
// as the main window opens it, its controls by name, and the book read back with plain SQL.
using Righe = QList<QStringList>;

class ProvaEditor : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<LibroDiProva> libro;
    std::unique_ptr<ScriptedDialogs> dialoghi;
    std::unique_ptr<Ricette> finestra;

    void preparaProva()
    {
        libro = std::make_unique<LibroDiProva>();
        dialoghi = std::make_unique<ScriptedDialogs>();
    }
    // Closes the window (its questions must be queued) and checks every answer was used.
    void chiudiProva()
    {
        finestra.reset();
        const bool usate = dialoghi->tutteUsate();
        dialoghi.reset();
        libro.reset();
        QVERIFY2(usate, "a scripted answer was not used");
    }

    Ricette *apri()
    {
        Applicazione::RicettarioCorrente = libro->percorso();
        finestra = std::make_unique<Ricette>();
        finestra->show();
        finestra->activateWindow();
        if (!QTest::qWaitForWindowActive(finestra.get()))
            qWarning("window not active: focus changes will not happen");
        return finestra.get();
    }

    template <class T = QWidget> T *w(const char *nome) const
    {
        T *c = finestra->findChild<T *>(nome);
        if (!c)
            qWarning("no control %s", nome);
        return c;
    }
    QLineEdit *casella(const char *nome) const { return w<QLineEdit>(nome); }
    QPushButton *pulsante(const char *nome) const { return w<QPushButton>(nome); }
    QListWidget *lista(const char *nome) const { return w<QListWidget>(nome); }
    FlexGrid *griglia() const { return w<FlexGrid>("GridRicette"); }
    QString campo(int indice) const
    {
        const QString nome = QStringLiteral("txtFields_%1").arg(indice);
        if (auto *m = finestra->findChild<QPlainTextEdit *>(nome))
            return m->toPlainText();
        return finestra->findChild<QLineEdit *>(nome)->text();
    }
    QString didascalia() const { return w<NavigationBar>("datPrimaryRS")->caption(); }
    int beep() const { return int(dialoghi->di("beep").size()); }

    // Types into a box as a user does: it takes the focus, the keys arrive one by one with the
    // key codes a keyboard gives ('\b' is Backspace, '\n' Enter; accented letters come as text
    // alone, as from an input method).
    static void scrivi(QWidget *c, const QString &testo)
    {
        c->setFocus();
        for (const QChar ch : testo)
            if (ch == '\b' || ch == '\n')
                QTest::keyClick(c, ch == '\b' ? Qt::Key_Backspace : Qt::Key_Return);
            else if (ch.unicode() > 0x20 && ch.unicode() < 0x7f)
                QTest::keyClick(c, char(ch.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, c, ch == ' ' ? Qt::Key_Space : Qt::Key_unknown,
                                    QString(ch), Qt::NoModifier);
    }
    void riscrivi(const char *nome, const QString &testo) const
    {
        casella(nome)->clear();
        scrivi(casella(nome), testo);
    }
    // Leaves a box: the focus goes to the recipe list.
    void esci() const { lista("ListaRicette")->setFocus(); }
    void clic(const char *nome) const { QTest::mouseClick(pulsante(nome), Qt::LeftButton); }
    void barra(const char *pulsanteBarra) const
    {
        QTest::mouseClick(w<NavigationBar>("datPrimaryRS")->findChild<QWidget *>(pulsanteBarra),
                          Qt::LeftButton);
    }
    void clicVoce(const char *nome, const QString &voce) const
    {
        QListWidget *l = lista(nome);
        if (const QListWidgetItem *v = l->findItems(voce, Qt::MatchExactly).value(0))
            QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(v).center());
    }
    void clicRiga(int riga) const
    {
        const QRect r = griglia()->visualRect(griglia()->model()->index(riga - 1, 1));
        QTest::mouseClick(griglia()->viewport(), Qt::LeftButton, {}, r.center());
    }
    // The items of a list or a combo.
    QStringList voci(const char *nome) const
    {
        QStringList r;
        if (auto *l = finestra->findChild<QListWidget *>(nome))
            for (int i = 0; i < l->count(); ++i)
                r << l->item(i)->text();
        if (auto *c = finestra->findChild<QComboBox *>(nome))
            for (int i = 0; i < c->count(); ++i)
                r << c->itemText(i);
        return r;
    }
    QStringList visti() const { return dialoghi->visti(); }

    // The lines the grid shows, columns 1 to 3 of rows 1 and on.
    Righe righeGriglia() const
    {
        Righe r;
        for (int i = 1; i < griglia()->Rows(); ++i)
            r << QStringList{griglia()->TextMatrix(i, 1), griglia()->TextMatrix(i, 2),
                             griglia()->TextMatrix(i, 3)};
        return r;
    }
    // The lines of a recipe in the book: ingredient name, quantity, comment, by line key.
    Righe righeLibro(qint64 ricetta) const
    {
        Righe r;
        for (const QVariantList &v :
             libro->righe("SELECT i.Ingrediente, l.\"Quantità\", l.Commenti FROM "
                          "ingredienti_ricetta l LEFT JOIN Ingredienti i USING (IDIngrediente) "
                          "WHERE l.IDRicetta = ? ORDER BY l.IDIngredienteRicetta",
                          QVariantList{ricetta}))
            r << QStringList{v.value(0).toString(), v.value(1).toString(), v.value(2).toString()};
        return r;
    }
    QVariant colonna(const char *nome, qint64 ricetta) const
    {
        return libro->valore(
            QStringLiteral("SELECT \"%1\" FROM Ricette WHERE IDRicetta = ?").arg(nome), {ricetta});
    }
};
