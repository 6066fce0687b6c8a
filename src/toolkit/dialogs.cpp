#include "dialogs.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QtGlobal>

namespace {
Dialogs *installati = nullptr;
}

Dialogs &Dialogs::instance()
{
    Q_ASSERT_X(installati, "Dialogs", "no Dialogs installed");
    return *installati;
}

void Dialogs::install(Dialogs *d)
{
    installati = d;
}

void Dialogs::uninstall(Dialogs *d)
{
    if (installati == d)
        installati = nullptr;
}

QString Dialogs::titoloPredefinito()
{
    return QStringLiteral("Pentolone");
}

bool installaTraduzioneItaliana()
{
    static QTranslator traduzione;
    if (!traduzione.load(QLocale(QLocale::Italian, QLocale::Italy), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&traduzione);
}
