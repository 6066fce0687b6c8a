#include "datasource.h"
#include "menu.h"
#include "qtdialogs.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pentolone");
    QApplication::setApplicationDisplayName("Pentolone");
    QApplication::setWindowIcon(QIcon(":/icons/pentolone.svg"));

    // Qt's own buttons and dialogs speak Italian too (Sì, No, Annulla).
    installaTraduzioneItaliana();

    QtDialogs dialoghi;
    Dialogs::install(&dialoghi);
    DataSource::setGestoreErrori([](int, const QString &descrizione) {
        dialogs().messageBox(descrizione, Dialogs::SoloOK, Dialogs::titoloPredefinito(),
                             Dialogs::Critica);
    });

    Menu menu;
    menu.show();
    return app.exec();
}
