#include "shell/avvio.h"

#include "toolkit/dialogs.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Avvio {

Opzioni leggi(const QStringList &argomenti)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Pentolone, il ricettario di casa.");
    const QCommandLineOption aiuto({"h", "help"}, "Mostra questo aiuto ed esce.");
    parser.addOption(aiuto);
    const QCommandLineOption versione({"v", "version"}, "Mostra la versione ed esce.");
    parser.addOption(versione);
    const QCommandLineOption personale(
        "cartella-personale",
        "Lavora nella cartella Pentolone della cartella personale (o in $PENTOLONE_DIR), "
        "creandola con il ricettario di esempio la prima volta.");
    parser.addOption(personale);
    parser.addPositionalArgument("ricettario", "Il ricettario da aprire (un file .mdb).",
                                 "[ricettario]");
    parser.process(argomenti);
    if (parser.isSet(aiuto))
        parser.showHelp(); // exits
    if (parser.isSet(versione))
        parser.showVersion(); // exits
    Opzioni o;
    o.cartellaPersonale = parser.isSet(personale);
    o.libro = parser.positionalArguments().value(0);
    return o;
}

QString avvia(const Opzioni &opzioni)
{
    const QString libro =
        opzioni.libro.isEmpty() ? QString() : QFileInfo(opzioni.libro).absoluteFilePath();
    if (opzioni.cartellaPersonale) {
        const QString cartella = cartellaPersonale();
        if (preparaCartella(cartella, cartellaDeiModelli()))
            QDir::setCurrent(cartella);
        else
            dialogs().messageBox(
                righe({"Non è possibile creare la cartella di lavoro", cartella,
                       "Pentolone lavora nella cartella " + QDir::currentPath() + "."}),
                Dialogs::SoloOK, "Attenzione", Dialogs::Esclamazione);
    }
    return libro;
}

QString cartellaPersonale()
{
    const QString scelta = qEnvironmentVariable("PENTOLONE_DIR");
    return scelta.isEmpty() ? QDir::home().filePath("Pentolone") : scelta;
}

QString cartellaDeiModelli()
{
    // Installed or in the build tree, the books stand in ../share/pentolone.
    return QDir::cleanPath(
        QDir(QCoreApplication::applicationDirPath()).filePath("../share/pentolone"));
}

bool preparaCartella(const QString &cartella, const QString &modelli)
{
    if (!QDir().mkpath(cartella))
        return false;
    for (const char *nome : {"Ricetta", "Ricette.mdb"}) {
        const QString destinazione = QDir(cartella).filePath(nome);
        if (!QFileInfo::exists(destinazione) &&
            QFile::copy(QDir(modelli).filePath(nome), destinazione))
            // An installed copy is read-only; the user's own must not be.
            QFile::setPermissions(destinazione, QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ReadGroup | QFile::ReadOther);
    }
    return true;
}

} // namespace Avvio
