#include "printing/superficie.h"
#include "shell/avvio.h"
#include "shell/menu.h"
#include "storage/datasource.h"
#include "toolkit/qtdialogs.h"
#include "toolkit/stile.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

namespace {

const char *programma = "pentolone";
QtMessageHandler gestoreDiQt = nullptr;

// Installed while the application is made: Qt finding no display would print English lines
// and abort; the user reads instead, in Italian, what run.sh says, and the exit code is 1.
void senzaSchermo(QtMsgType tipo, const QMessageLogContext &contesto, const QString &testo)
{
    static bool manca = false;
    if (qstrcmp(contesto.category, "qt.qpa.xcb") == 0 &&
        testo.startsWith(QLatin1String("could not connect to display")))
        manca = true;
    else if (manca && tipo == QtFatalMsg) {
        std::fprintf(stderr,
                     "Pentolone ha bisogno di uno schermo e qui non ce n'è: senza schermo provate "
                     "'xvfb-run -a %s' (pacchetto xvfb).\n",
                     programma);
        std::_Exit(1);
    } else if (!manca) // what follows the missing display only repeats it
        gestoreDiQt(tipo, contesto, testo);
}

} // namespace

int main(int argc, char **argv)
{
    // No display name: the platform would append it to every window title.
    QCoreApplication::setApplicationName("Pentolone");
    QCoreApplication::setApplicationVersion(PENTOLONE_VERSIONE);
    // The help and the version are read in a terminal, which may have no display.
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "-h") == 0 || qstrcmp(argv[i], "--help") == 0 ||
            qstrcmp(argv[i], "-v") == 0 || qstrcmp(argv[i], "--version") == 0) {
            QCoreApplication testo(argc, argv);
            installaTraduzioneItaliana();
            Avvio::leggi(QCoreApplication::arguments()); // shows the text and exits
        }
    programma = argv[0];
    gestoreDiQt = qInstallMessageHandler(senzaSchermo);
    QApplication app(argc, argv);
    qInstallMessageHandler(gestoreDiQt);
    QApplication::setWindowIcon(QIcon(":/icons/pentolone.svg"));
    Stile::installa();

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
