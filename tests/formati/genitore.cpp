// A program that runs a helper and is then killed by tst_aiutante, as the user's program may be:
// the helper's lines are passed on to standard output, so the test learns who the helper is.
//
//   genitore <helper> [its arguments]
#include "formati/aiutante.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList argomenti = app.arguments().mid(1);
    if (argomenti.isEmpty())
        return 1;
    Aiutante figlio(QString(), {argomenti.takeFirst(), 600000}, 0);
    QObject::connect(&figlio, &Aiutante::riga, [](const QByteArray &riga) {
        std::printf("%s\n", riga.constData());
        std::fflush(stdout);
    });
    QObject::connect(&figlio, &Aiutante::finito, &app, &QCoreApplication::quit);
    figlio.avvia(argomenti);
    return app.exec();
}
