// Opens the ingredients window on a book of 10,000 ingredients, then adds one through
// SalvaIngrediente, whose duplicate scan walks every row. Prints both times.
#include "finestre.h"
#include "masterdata/ingredienti.h"
#include "storage/database.h"
#include "toolkit/applicazione.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const char *const Sillabe[] = {"ba", "ce", "di", "fo", "gu", "la", "me",  "ni",
                               "po", "ru", "sa", "te", "vi", "zo", "chè", "gnà"};

QString nome(int i)
{
    QString n;
    for (int k = 0; k < 4; ++k, i /= 16)
        n += QString::fromUtf8(Sillabe[i % 16]);
    return n.left(1).toUpper() + n.mid(1) + QStringLiteral(" %1").arg(i);
}

} // namespace

int main(int argc, char **argv)
{
    senzaSchermo();
    QApplication app(argc, argv);
    Silenzio silenzio;
    Dialogs::install(&silenzio);

    QTemporaryDir cartella;
    const QString percorso = QDir(cartella.path()).filePath("Ingredienti.mdb");
    {
        auto db = Database::crea(percorso);
        Database::Transazione t(*db);
        for (int i = 0; i < 10000; ++i)
            db->esegui("INSERT INTO \"Ingredienti\" (\"Ingrediente\") VALUES (?)", {nome(i)});
        t.commit();
    }
    Applicazione::RicettarioCorrente = percorso;

    QElapsedTimer t;
    t.start();
    auto *finestra = new Ingredienti;
    finestra->show();
    const double apertura = ms(t);

    finestra->findChild<QPushButton *>("cmdInserisci")->click();
    finestra->findChild<QLineEdit *>("Text1")->setText("Zafferano in pistilli");
    t.restart();
    finestra->SalvaIngrediente();
    const double aggiunta = ms(t);

    std::printf("apertura_ms: %.1f ms\naggiunta_ms: %.1f ms\n", apertura, aggiunta);
    delete finestra;
    return 0;
}
