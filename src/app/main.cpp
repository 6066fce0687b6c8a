#include "printing/superficie.h"
#include "shell/avvio.h"
#include "shell/menu.h"
#include "storage/datasource.h"
#include "toolkit/qtdialogs.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QScreen>

int main(int argc, char **argv)
{
    // The help is read in a terminal, which may have no display.
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "-h") == 0 || qstrcmp(argv[i], "--help") == 0) {
            QCoreApplication testo(argc, argv);
            installaTraduzioneItaliana();
            Avvio::leggi(QCoreApplication::arguments()); // shows the help and exits
        }
    QApplication app(argc, argv);
    // No display name: the platform would append it to every window title.
    QApplication::setApplicationName("Pentolone");
    QApplication::setWindowIcon(QIcon(":/icons/pentolone.svg"));

    QLocale::setDefault(localeDelProgramma(QLocale::system()));
    // Qt's own buttons and dialogs speak Italian too (Sì, No, Annulla).
    installaTraduzioneItaliana();

    QtDialogs dialoghi;
    Dialogs::install(&dialoghi);
    SuperficieQt stampante(QtDialogs::stampante());
    SuperficieStampa::install(&stampante);
    DataSource::setGestoreErrori([](int, const QString &descrizione) {
        dialogs().messageBox(descrizione, Dialogs::SoloOK, Dialogs::titoloPredefinito(),
                             Dialogs::Critica);
    });

    const QString libro = Avvio::avvia(Avvio::leggi(QApplication::arguments()));

    Menu menu;
    // Centred on the screen: the frame is known only once the window is shown, so room is left
    // for a tall one.
    const QRect schermo = menu.screen()->availableGeometry();
    centra(&menu, schermo, schermo, QSize(16, 48));
    // A book open in another copy of the program: that copy comes forward and this one ends.
    if (!menu.Avvia(libro))
        return 0;
    return app.exec();
}
