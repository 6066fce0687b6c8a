#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <memory>

class FileLaterale;

// A recipe chosen for the list, with its portions.
struct Scelta
{
    qint64 posizione = 0; // its place in the list, which keeps the same recipe twice apart
    qint64 ricetta = 0;
    QString nome; // as the book named it last
    int porzioni = 0;
};

// One place of the week: a day (0 Monday) and a meal (0 lunch, 1 dinner).
struct Pasto
{
    int giorno = 0;
    int pasto = 0;
    qint64 ricetta = 0; // 0: a meal written by hand, with no recipe of the book
    QString nome;
    int porzioni = 0;
};

// What the cook plans for a book, in the side file beside it (<book>.spesa): the chosen
// recipes, the ticks, the departments chosen for ingredients, the week. Each change is one
// transaction. A damaged file, or another book's, is set aside under another name and a new
// one started; avviso() says so, once. Every operation throws EngineError naming the cause.
class ArchivioSpesa
{
public:
    explicit ArchivioSpesa(const QString &libro);
    ~ArchivioSpesa();

    static QString percorsoPer(const QString &libro);
    const QString &avviso() const { return avviso_; }

    QList<Scelta> scelte();
    void aggiungi(const QList<Scelta> &scelte);
    void togli(const QList<qint64> &posizioni);
    void setPorzioni(qint64 posizione, int porzioni);
    void rinomina(qint64 ricetta, const QString &nome);

    QSet<qint64> inCasa();
    void setInCasa(qint64 ingrediente, bool inCasa);

    QHash<qint64, QString> reparti();
    void setReparto(qint64 ingrediente, const QString &reparto);

    QList<Pasto> settimana();
    void setPasto(const Pasto &p); // an empty name empties the place
    void svuotaSettimana();
    // A recipe gone from the book: the meals keep its name, without the recipe.
    void staccaRicetta(qint64 ricetta);

private:
    void apri(const QString &libro);
    void creaTabelle(const QString &libro);
    // Why the file cannot be the list of this book, empty when it can.
    QString estraneo(const QString &libro);
    void mettiDaParte(const QString &libro, const QString &suffisso);

    QString percorso_;
    QString avviso_;
    std::unique_ptr<FileLaterale> file_;
};
